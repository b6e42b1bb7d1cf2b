// The "MountServer" expression.
#include "CorePlugin/cross/MountServer.h"

#include "CorePlugin/common/PropertyRows.h"

#include "base/MountTable.h"

namespace CorePlugin {

String MountServer::lookup(const base::MountAnswer* mount, const wchar_t* /*path*/) const {
    return mount ? widen(mount->server) : String();
}

// What MountServer says of itself.

const PluginKit::ExpressionInfo MountServer::kInfo =
    PluginKit::operand(L"MountServer", PluginKit::ResultText::Any, kMountPropertyRows,
                       "the server of the network mount holding the path, or empty");

} // namespace CorePlugin
