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
    // The file-system type ("ext4", "nfs4", "fuse.sshfs").
    std::string type;
    // As findmnt's OPTIONS column shows them: "ro" or "rw" first, then the
    // mount's other options, then the file system's own; no name twice.
    std::vector<std::string> options;
};

// Parsing and lookup work on text alone: nothing here touches the file system,
// so a lookup can never wait on an unreachable network server.
class BASE_API MountTable {
public:
    // Replaces the table by the mounts of `text`, in the format of
    // /proc/self/mountinfo (octal escapes such as \040 are decoded). Lines that
    // are not mount entries are skipped. Returns 0, or a negative errno value
    // when the text could not be parsed whole (-ENOMEM when memory ran out on
    // the way); the table is then unchanged, never a part of the text.
    int parse(const char* text, std::size_t size);

    std::size_t size() const { return m_Mounts.size(); }

    // The mount that holds the absolute UTF-8 `path`: the one whose mount point
    // is the longest prefix of the path by whole components (repeated and
    // trailing '/' ignored); of mounts stacked on that point, the top one (the
    // mount that no other mount there has as its parent), the last in the
    // table among equals. False for a relative path, which is on no mount.
    bool lookup(const std::string& path, MountAnswer& answer) const;

    // Every mount in the order of the table, each with its mount point, type,
    // server and options (`remotePath` empty).
    std::vector<MountAnswer> mounts() const;

    // Whether `type` is a network or FUSE file system, whose server may not
    // answer: nfs, nfs4, cifs, smb3, sshfs, fuse, fuseblk and fuse.*.
    static bool isNetworkType(const std::string& type);

    // findmnt's OPTIONS for a mount with these per-mount and file-system
    // option texts: "ro" first when either holds "ro", else "rw"; then the
    // per-mount options, then the file system's other than "rw" and "ro"; a
    // name (the text before '=') only once. A comma inside double quotes does
    // not end an option.
    static std::vector<std::string> mergeOptions(const std::string& mountOptions,
                                                 const std::string& systemOptions);

private:
    struct Mount {
        int id = 0;
        int parentId = 0;
        std::string mountPoint;
        std::vector<std::string> components;
        // Set for network sources ("server:/export", "//server/share",
        // "https://server/dir"); the exported path includes the mount's root
        // within its file system (a bind mount of a subdirectory).
        std::string server;
        std::string exportPath;
        std::string type;
        std::vector<std::string> options;
    };

    std::vector<Mount> m_Mounts;
};

} // namespace base
