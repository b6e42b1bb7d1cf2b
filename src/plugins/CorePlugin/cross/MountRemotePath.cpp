// The "MountRemotePath" expression.
#include "cross/MountRemotePath.h"

#include "base/mountlist.h"

namespace CorePlugin {

String MountRemotePath::lookup(const mountlist& mounts, const wchar_t* path) const {
    String answer = mounts.GetMountRemotePath(path);
    // A local mount, or none, has no remote path: the path itself is the answer.
    if (answer.length() == 0)
        return String(path);
    return answer;
}

} // namespace CorePlugin
