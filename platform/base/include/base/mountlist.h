// The table of mounted file systems.
#pragma once

#include "base/Export.h"
#include "base/MountTable.h"
#include "base/String.h"

#include <memory>
#include <string>

// Read from a mountinfo table (by default /proc/self/mountinfo) by Initialize().
// The lookups answer for the mount that holds a path, by the text of the path
// alone (see base::MountTable); an empty String means the table has no answer.
class BASE_API mountlist {
public:
    mountlist();
    // Reads another mountinfo file instead (tests, diagnostics).
    explicit mountlist(const char* mountinfoPath);
    ~mountlist();
    mountlist(const mountlist&) = delete;
    mountlist& operator=(const mountlist&) = delete;

    // Reads the table; 0 on success (the table is then ready), a negative errno
    // value otherwise (the table is then not ready).
    long Initialize();

    // Whether the table may be queried.
    bool isReady() const { return m_Ready; }

    // The server of the network mount that holds the path; empty for a local one.
    String GetMountServer(const wchar_t* path) const;
    // The mount point of the mount that holds the path.
    String GetMountPath(const wchar_t* path) const;
    // The remote path of the path on its network mount; empty for a local one.
    String GetMountRemotePath(const wchar_t* path) const;

private:
    String answer(const wchar_t* path, std::string base::MountAnswer::*field) const;

    std::string m_Source;
    bool m_Ready = false;
    std::unique_ptr<base::MountTable> m_Table;
};
