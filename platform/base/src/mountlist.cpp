// The table of mounted file systems.
#include "base/mountlist.h"

#include "base/FileText.h"
#include "base/Utf8.h"

#include <cwchar>

mountlist::mountlist() : mountlist("/proc/self/mountinfo") {}

mountlist::mountlist(const char* mountinfoPath) : m_Source(mountinfoPath ? mountinfoPath : "") {}

mountlist::~mountlist() = default;

long mountlist::Initialize() {
    m_Ready = false;
    m_Table.reset();
    std::string text;
    int rc = base::readFileText(m_Source.c_str(), text, std::size_t{64} << 20);
    if (rc != 0)
        return rc;
    auto table = std::make_unique<base::MountTable>();
    rc = table->parse(text.data(), text.size());
    if (rc != 0)
        return rc;
    m_Table = std::move(table);
    m_Ready = true;
    return 0;
}

String mountlist::answer(const wchar_t* path, std::string base::MountAnswer::*field) const {
    if (!m_Ready || !m_Table || !path)
        return String();
    // A path with a character that has no UTF-8 form names nothing on any mount.
    std::string narrow;
    if (!base::encodeUtf8(path, std::wcslen(path), narrow, false))
        return String();
    base::MountAnswer found;
    if (!m_Table->lookup(narrow, found))
        return String();
    std::wstring wide;
    base::decodeUtf8((found.*field).data(), (found.*field).size(), wide);
    return String(wide.c_str());
}

String mountlist::GetMountServer(const wchar_t* path) const {
    return answer(path, &base::MountAnswer::server);
}

String mountlist::GetMountPath(const wchar_t* path) const {
    return answer(path, &base::MountAnswer::mountPoint);
}

String mountlist::GetMountRemotePath(const wchar_t* path) const {
    return answer(path, &base::MountAnswer::remotePath);
}
