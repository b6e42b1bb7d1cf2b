// The "MountPath" expression.
#include "cross/MountPath.h"

#include "base/MountTable.h"

namespace CorePlugin {

String MountPath::lookup(const base::MountAnswer* mount, const wchar_t* /*path*/) const {
    return mount ? widen(mount->mountPoint) : String();
}

} // namespace CorePlugin
