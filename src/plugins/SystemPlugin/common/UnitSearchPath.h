// The directories systemd's system manager finds unit files in, earliest
// first, as `systemd-analyze unit-paths` prints them, below a root directory
// that stands for "/" (as `systemctl --root=DIR` takes one).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace SystemPlugin {

class UnitSearchPath {
public:
    // `root` is an absolute directory; "/" (or "") is the running system.
    explicit UnitSearchPath(std::string_view root);

    // The root without a trailing '/': "" for "/".
    const std::string& root() const { return m_Root; }
    // The directories, each with the root before it.
    const std::vector<std::string>& directories() const { return m_Directories; }
    // The directory `systemctl enable` writes to: /etc/systemd/system.
    const std::string& persistentConfig() const { return m_Directories[kPersistentConfig]; }

    // Whether `path` (with the root) lies below /run, where everything is runtime.
    bool isRuntime(std::string_view path) const;
    // Whether `path` is a file directly inside a generator's directory, or the
    // transient directory.
    bool isGenerated(std::string_view path) const;
    bool isTransient(std::string_view path) const;
    // Whether `directory` is one of the generators' directories.
    bool isGenerator(std::string_view directory) const;
    // Whether `directory` is /etc/systemd/system or /run/systemd/system.
    bool isConfiguration(std::string_view directory) const;
    // The directory of the search path that `path` lies below; empty for
    // none. Without `generators`, their directories are not searched.
    std::string_view directoryHolding(std::string_view path, bool generators) const;

    // Whether `path` is `directory` or lies below it, component by component.
    static bool isBelow(std::string_view path, std::string_view directory);
    // The directory part of a path ("/a/b" for "/a/b/c").
    static std::string_view parentOf(std::string_view path);

private:
    static constexpr std::size_t kPersistentConfig = 4;
    std::string m_Root;
    std::vector<std::string> m_Directories;
};

} // namespace SystemPlugin
