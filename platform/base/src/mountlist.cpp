// The table of mounted file systems.
#include "base/mountlist.h"

struct mountlist::Table {};

mountlist::mountlist() : mountlist("/proc/self/mountinfo") {}

mountlist::mountlist(const char* mountinfoPath) : m_Source(mountinfoPath ? mountinfoPath : "") {}

mountlist::~mountlist() = default;

long mountlist::Initialize() {
    m_Table = std::make_unique<Table>();
    m_Ready = true;
    return 0;
}

String mountlist::GetMountServer(const wchar_t* /*path*/) const {
    return String();
}

String mountlist::GetMountPath(const wchar_t* /*path*/) const {
    return String();
}

String mountlist::GetMountRemotePath(const wchar_t* /*path*/) const {
    return String();
}
