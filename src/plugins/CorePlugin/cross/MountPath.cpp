// The "MountPath" expression.
#include "cross/MountPath.h"

#include "base/mountlist.h"

namespace CorePlugin {

String MountPath::lookup(const mountlist& mounts, const wchar_t* path) const {
    return mounts.GetMountPath(path);
}

} // namespace CorePlugin
