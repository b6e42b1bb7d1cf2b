// The mount table as the plug-ins' probes use it: the mount that holds a path
// with its file-system type and options, and the check that keeps probes off
// network and FUSE file systems.
#pragma once

#include "PluginKit/CommonCodes.h"
#include "PluginSDK/Types.h"
#include "base/MountTable.h"
#include "base/mountlist.h"

#include <string>
#include <vector>

namespace PluginKit {

// A table of mounts (base's mountlist: kept current, read afresh in a forked
// process, safe on many threads). Paths are looked up by their text alone;
// nothing here touches them. Nothing here throws: running out of memory is
// -103.
class Mounts {
public:
    // The codes of the answers.
    static constexpr TErrorCode kInternalFailure = PluginKit::kInternalFailure;
    static constexpr TErrorCode kNoMountTable = kMountTableUnavailable;
    static constexpr TErrorCode kNotOnAnyMount = -12010;
    static constexpr TErrorCode kOnNetwork = -12024;

    // The table of /proc/self/mountinfo, or of another mountinfo file.
    Mounts();
    explicit Mounts(const char* mountinfoPath);

    // The table of this process, shared by every plug-in instance in it; it
    // is read at its first use and, after a failure, again at the next.
    static Mounts& ofProcess();

    // Reads the table afresh: 0; -400 when it could not be read whole; -103.
    TErrorCode initialize();

    // The mount that holds `path` (UTF-8, or wide): 0 with `mount` filled
    // (its type and options included); -12010 for a relative path, which is
    // on no mount; -400 when no whole table could be read; -103.
    TErrorCode find(const std::string& path, base::MountAnswer& mount) const;
    TErrorCode find(const wchar_t* path, base::MountAnswer& mount) const;

    // Every mount of the table, in its order: 0; -400 when no whole table
    // could be read; -103.
    TErrorCode list(std::vector<base::MountAnswer>& mounts) const;

    // Whether a probe may touch `path`: 0 when it lies on no network or FUSE
    // file system (base::MountTable::isNetworkType) or `networkAllowed` (the
    // node's "network" is "true"), or on no mount at all (a relative path);
    // -12024 when it lies on one; -400 when no whole table could be read; -103.
    TErrorCode checkNetwork(const std::string& path, bool networkAllowed) const;
    TErrorCode checkNetwork(const wchar_t* path, bool networkAllowed) const;

private:
    template <typename Path> TErrorCode findIn(const Path& path, base::MountAnswer& mount) const;
    template <typename Path> TErrorCode checkIn(const Path& path, bool networkAllowed) const;

    mountlist m_List;
};

// The network check of every probe that touches a path, on the process's table:
// Mounts::ofProcess().checkNetwork(path, networkAllowed).
TErrorCode checkNetworkPath(const std::string& path, bool networkAllowed);
TErrorCode checkNetworkPath(const wchar_t* path, bool networkAllowed);

} // namespace PluginKit
