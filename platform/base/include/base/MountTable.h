// The mounts of a mountinfo text and the lookup of the mount that holds a path.
#pragma once

#include "base/Export.h"

#include <cstddef>
#include <string>
#include <vector>

namespace base {

// What the table answers for one path, in UTF-8. `server` and `remotePath` are
// empty for a local file system.
struct MountAnswer {
    std::string mountPoint;
    std::string server;
    std::string remotePath;
};

// Parsing and lookup work on text alone: nothing here touches the file system,
// so a lookup can never wait on an unreachable network server.
class BASE_API MountTable {
public:
    // Replaces the table by the mounts of `text`, in the format of
    // /proc/self/mountinfo (octal escapes such as \040 are decoded). Lines that
    // are not mount entries are skipped. Returns 0, or a negative errno value
    // when the text could not be parsed at all (the table is then unchanged).
    int parse(const char* text, std::size_t size);

    std::size_t size() const { return m_Mounts.size(); }

    // The mount that holds the absolute UTF-8 `path`: the one whose mount point
    // is the longest prefix of the path by whole components (repeated and
    // trailing '/' ignored), the last in the table among equals. False for a
    // relative path, which is on no mount.
    bool lookup(const std::string& path, MountAnswer& answer) const;

private:
    struct Mount {
        std::string mountPoint;
        std::vector<std::string> components;
        // Set for network sources ("server:/export", "//server/share",
        // "https://server/dir"); the exported path includes the mount's root
        // within its file system (a bind mount of a subdirectory).
        std::string server;
        std::string exportPath;
    };

    std::vector<Mount> m_Mounts;
};

} // namespace base
