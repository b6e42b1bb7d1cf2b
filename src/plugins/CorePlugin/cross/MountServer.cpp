// The "MountServer" expression.
#include "cross/MountServer.h"

#include "base/mountlist.h"

namespace CorePlugin {

String MountServer::lookup(const mountlist& mounts, const wchar_t* path) const {
    return mounts.GetMountServer(path);
}

} // namespace CorePlugin
