// The "MountPath" expression.
#include "CorePlugin/cross/MountPath.h"

#include "CorePlugin/common/PropertyRows.h"

#include "base/MountTable.h"

namespace CorePlugin {

String MountPath::lookup(const base::MountAnswer* mount, const wchar_t* /*path*/) const {
    return mount ? widen(mount->mountPoint) : String();
}

// What MountPath says of itself.

const PluginKit::ExpressionInfo MountPath::kInfo =
    PluginKit::operand(L"MountPath", PluginKit::ResultText::Path, kMountPropertyRows,
                       "the mount point of the file system holding the path");

} // namespace CorePlugin
