// The "MountServer" expression.
#include "cross/MountServer.h"

#include "base/MountTable.h"

namespace CorePlugin {

String MountServer::lookup(const base::MountAnswer* mount, const wchar_t* /*path*/) const {
    return mount ? widen(mount->server) : String();
}

} // namespace CorePlugin
