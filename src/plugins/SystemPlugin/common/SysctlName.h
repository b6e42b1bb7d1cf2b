// Kernel parameter names and values as sysctl and sysctl.d write them.
#pragma once

#include <string>
#include <string_view>

namespace SystemPlugin {

// The path below /proc/sys that `name` stands for: when its first separator
// is '.', dots and slashes swap ("net.ipv4.conf.eth0/10.rp_filter" is
// "net/ipv4/conf/eth0.10/rp_filter"); otherwise it is used as written. False
// for a name that could reach outside /proc/sys or name several parameters:
// a leading '/', an empty component, '*', '?', '[' or ".." in a component.
bool sysctlPath(std::string_view name, std::string& path);

// A parameter name in the form sysctl.d keys are compared in: the swap of
// sysctlPath, then runs of '/' as one.
std::string sysctlNormalise(std::string_view name);

// A parameter's value as sysctl prints it: every run of blanks, tabs and line
// ends becomes one space, none at either end.
std::string sysctlValue(std::string_view raw);

} // namespace SystemPlugin
