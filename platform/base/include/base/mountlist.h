// The table of mounted file systems.
#pragma once

#include "base/Export.h"
#include "base/String.h"

#include <atomic>
#include <cstddef>
#include <memory>

// Read from a mountinfo table (by default /proc/self/mountinfo) by Initialize()
// and kept current: a table read from /proc is read again when the kernel
// reports a change of the mounts (POLLPRI on the open table), any other file
// when its status (device, inode, size, modification or change time) changes.
// So a lookup costs one poll or stat call while nothing changed.
//
// The lookups answer for the mount that holds a path, by the text of the path
// alone (see base::MountTable); an empty String means the table has no answer.
// When a changed table cannot be read, the lookups answer from the last one
// read and try again at the next lookup. Lookups may run on several threads at
// once; Initialize must not run beside them. Running out of memory reaches the
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

    // Reads the table; 0 on success (the table is then ready), a negative errno
    // value otherwise (the table is then not ready).
    long Initialize();

    // Whether the table may be queried: a table was read by the last Initialize.
    bool isReady() const { return m_Ready.load(std::memory_order_acquire); }

    // The server of the network mount that holds the path; empty for a local one.
    String GetMountServer(const wchar_t* path) const;
    // The mount point of the mount that holds the path.
    String GetMountPath(const wchar_t* path) const;
    // The remote path of the path on its network mount; empty for a local one.
    String GetMountRemotePath(const wchar_t* path) const;

private:
    class Source;
    enum class Field { MountPoint, Server, RemotePath };

    String answer(const wchar_t* path, Field field) const;

    std::atomic<bool> m_Ready{false};
    std::unique_ptr<Source> m_Source;
};
