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

// A sysctl.d key as systemd-sysctl normalises it: the swap of sysctlPath,
// then the path simplified (runs of '/' as one, "." components and a final
// '/' dropped, ".." kept) and a leading '/' dropped.
std::string sysctlNormalise(std::string_view name);

// The parameter below /proc/sys that systemd-sysctl writes for the
// normalised key `key`: the key itself, or "" for a key with a ".."
// component, which it refuses to write.
std::string sysctlTarget(std::string_view key);

// A parameter's value as sysctl prints it: every run of blanks, tabs and line
// ends becomes one space, none at either end.
std::string sysctlValue(std::string_view raw);

} // namespace SystemPlugin
