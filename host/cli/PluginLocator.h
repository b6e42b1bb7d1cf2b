// Where corehost finds the plug-in when no path is given.
#pragma once

#include <string>

namespace corehost {

// The plug-in installed beside the running executable:
// <directory of the executable>/../<libdir>/libCorePlugin.so, found through
// /proc/self/exe. Empty when the executable's path cannot be read.
std::string defaultPluginPath();

} // namespace corehost
