// The table of mounted file systems.
#pragma once

#include "base/Export.h"
#include "base/MountTable.h"
#include "base/String.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// Read from a mountinfo table (by default /proc/self/mountinfo) by Initialize()
// and kept current: a table read from /proc is read again when the kernel
// reports a change of the mounts (POLLPRI on the open table), any other file
// when its status (device, inode, size, modification or change time) changes.
// So a lookup costs one poll or stat call while nothing changed. A process
// made by fork() opens the table afresh at its first lookup, so that it sees
// its own mounts and never consumes its parent's notice of a change.
//
// The lookups answer for the mount that holds a path, by the text of the path
// alone (see base::MountTable); an empty String means the table has no answer.
// A table that could not be read whole (at Initialize or after a change) is no
// table: the lookups answer nothing and read it again at the next lookup.
// Lookups may run on several threads at once, also beside Initialize, and
// answer from a whole table or not at all. Running out of memory reaches the
// caller as std::bad_alloc from a lookup (never as an empty answer) and as
// -ENOMEM from Initialize.
class BASE_API mountlist {
public:
    // Tables larger than this are not read (Initialize fails with -EFBIG).
    static constexpr std::size_t kMaxTableSize = std::size_t{64} << 20;

    mountlist();
    // Reads another mountinfo file instead (tests, diagnostics).
    explicit mountlist(const char* mountinfoPath);
    ~mountlist();
    mountlist(const mountlist&) = delete;
    mountlist& operator=(const mountlist&) = delete;

    // Reads the table afresh; 0 on success, a negative errno value otherwise
    // (the lookups then try again).
    long Initialize();

    // Whether a whole table is held: one was read by the last Initialize or
    // by a lookup after it, and has not been dropped since.
    bool isReady() const { return m_Ready.load(std::memory_order_acquire); }

    // The server of the network mount that holds the path; empty for a local one.
    String GetMountServer(const wchar_t* path) const;
    // The mount point of the mount that holds the path.
    String GetMountPath(const wchar_t* path) const;
    // The remote path of the path on its network mount; empty for a local one.
    String GetMountRemotePath(const wchar_t* path) const;

    // The mount that holds the UTF-8 `path`: 0 with `answer` filled, 1 when no
    // mount holds it (a relative path), a negative errno value when no table
    // could be read (-ENODATA before Initialize).
    int find(const std::string& path, base::MountAnswer& answer) const;
    // The same for a wide path; 1 also for a path without a UTF-8 form.
    int find(const wchar_t* path, base::MountAnswer& answer) const;
    // Every mount of the table (base::MountTable::mounts): 0, or a negative
    // errno value when no table could be read.
    int mounts(std::vector<base::MountAnswer>& all) const;

private:
    class Source;
    enum class Field { MountPoint, Server, RemotePath };

    String answer(const wchar_t* path, Field field) const;

    mutable std::atomic<bool> m_Ready{false};
    std::unique_ptr<Source> m_Source;
};
