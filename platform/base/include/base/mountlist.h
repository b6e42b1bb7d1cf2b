// The table of mounted file systems.
#pragma once

#include "base/Export.h"
#include "base/String.h"

#include <memory>
#include <string>

// Read from a mountinfo table (by default /proc/self/mountinfo) by Initialize().
// The lookups answer for the mount that holds a path; an empty String means the
// table has no answer.
class BASE_API mountlist {
public:
    mountlist();
    explicit mountlist(const char* mountinfoPath);
    ~mountlist();
    mountlist(const mountlist&) = delete;
    mountlist& operator=(const mountlist&) = delete;

    // Reads the table; 0 on success (the table is then ready), negative otherwise.
    long Initialize();

    // Whether the table may be queried.
    bool isReady() const { return m_Ready; }

    String GetMountServer(const wchar_t* path) const;
    String GetMountPath(const wchar_t* path) const;
    String GetMountRemotePath(const wchar_t* path) const;

private:
    struct Table;

    std::string m_Source;
    bool m_Ready = false;
    std::unique_ptr<Table> m_Table;
};
