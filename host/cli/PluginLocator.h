// Where corehost finds the plug-in when no path is given.
#pragma once

#include <string>
#include <vector>

namespace corehost {

// The plug-in installed beside the running executable:
// <directory of the executable>/../<libdir>/libCorePlugin.so, found through
// /proc/self/exe. Empty when the executable's path cannot be read.
std::string defaultPluginPath();

// Every plug-in installed beside the running executable, in load order:
// CorePlugin's module (always, so that its absence is reported), then
// SystemPlugin's when it is there.
std::vector<std::string> defaultPluginPaths();

// Where the default set is looked for, as --help tells it: the two module
// files and the directory relative to the executable's, with the build
// tree's ../lib when the install directory differs from it.
std::string describeDefaultPlugins();

} // namespace corehost
