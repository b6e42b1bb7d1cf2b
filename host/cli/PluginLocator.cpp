// Locating the plug-in beside the executable.
#include "cli/PluginLocator.h"

#include <limits.h>
#include <unistd.h>

namespace corehost {

namespace {

// <directory of the executable>/../<libdir>/<file>, or ../lib/<file> when
// only that one is there (a build tree).
std::string besideExecutable(const std::string& file) {
    char buffer[PATH_MAX];
    ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return std::string();
    std::string executable(buffer, static_cast<std::size_t>(length));
    const std::string directory = executable.substr(0, executable.rfind('/') + 1);
    // The install library directory first (lib, or lib/<triplet> under /usr),
    // then lib, the layout of a build tree.
    std::string installed = directory + "../" COREHOST_LIBDIR "/" + file;
    std::string built = directory + "../lib/" + file;
    if (installed != built && ::access(installed.c_str(), F_OK) != 0 &&
        ::access(built.c_str(), F_OK) == 0)
        return built;
    return installed;
}

} // namespace

std::string defaultPluginPath() {
    return besideExecutable(COREHOST_PLUGIN_FILE);
}

std::vector<std::string> defaultPluginPaths() {
    std::vector<std::string> paths{defaultPluginPath()};
    const std::string system = besideExecutable(COREHOST_SYSTEM_PLUGIN_FILE);
    if (!system.empty() && ::access(system.c_str(), F_OK) == 0)
        paths.push_back(system);
    return paths;
}

std::string describeDefaultPlugins() {
    const std::string installed = "../" COREHOST_LIBDIR;
    return COREHOST_PLUGIN_FILE " then " COREHOST_SYSTEM_PLUGIN_FILE " in " + installed +
           (installed == "../lib" ? std::string() : std::string(" (../lib in a build tree)"));
}

} // namespace corehost
