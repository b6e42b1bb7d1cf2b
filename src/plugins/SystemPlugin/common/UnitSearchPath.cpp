// The unit search path of the system manager.
#include "SystemPlugin/common/UnitSearchPath.h"

namespace SystemPlugin {

namespace {

// As `systemd-analyze unit-paths` prints them on Debian 12; index 4 is
// /etc/systemd/system.
constexpr std::string_view kDirectories[] = {
    "/etc/systemd/system.control",   "/run/systemd/system.control",  "/run/systemd/transient",
    "/run/systemd/generator.early",  "/etc/systemd/system",          "/etc/systemd/system.attached",
    "/run/systemd/system",           "/run/systemd/system.attached", "/run/systemd/generator",
    "/usr/local/lib/systemd/system", "/lib/systemd/system",          "/usr/lib/systemd/system",
    "/run/systemd/generator.late"};

constexpr std::string_view kGenerators[] = {
    "/run/systemd/generator.early", "/run/systemd/generator", "/run/systemd/generator.late"};

} // namespace

UnitSearchPath::UnitSearchPath(std::string_view root) : m_Root(root) {
    while (!m_Root.empty() && m_Root.back() == '/')
        m_Root.pop_back();
    for (std::string_view directory : kDirectories)
        m_Directories.push_back(m_Root + std::string(directory));
}

bool UnitSearchPath::isBelow(std::string_view path, std::string_view directory) {
    if (path.substr(0, directory.size()) != directory)
        return false;
    return path.size() == directory.size() || path[directory.size()] == '/' ||
           (!directory.empty() && directory.back() == '/');
}

std::string_view UnitSearchPath::parentOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

bool UnitSearchPath::isRuntime(std::string_view path) const {
    return isBelow(path, m_Root + "/run");
}

bool UnitSearchPath::isGenerator(std::string_view directory) const {
    for (std::string_view generator : kGenerators)
        if (directory == m_Root + std::string(generator))
            return true;
    return false;
}

bool UnitSearchPath::isGenerated(std::string_view path) const {
    return isGenerator(parentOf(path));
}

bool UnitSearchPath::isConfiguration(std::string_view directory) const {
    return directory == persistentConfig() || directory == m_Root + "/run/systemd/system";
}

bool UnitSearchPath::isTransient(std::string_view path) const {
    return parentOf(path) == m_Root + "/run/systemd/transient";
}

std::string_view UnitSearchPath::directoryHolding(std::string_view path, bool generators) const {
    for (const std::string& directory : m_Directories)
        if (isBelow(path, directory) && (generators || !isGenerator(directory)))
            return directory;
    return {};
}

} // namespace SystemPlugin
