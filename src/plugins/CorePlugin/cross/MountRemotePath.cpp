// The "MountRemotePath" expression.
#include "cross/MountRemotePath.h"

#include "base/MountTable.h"

namespace CorePlugin {

String MountRemotePath::lookup(const base::MountAnswer* mount, const wchar_t* path) const {
    String answer = mount ? widen(mount->remotePath) : String();
    // A local mount, or none, has no remote path: the path itself is the answer.
    if (answer.length() == 0)
        return String(path);
    return answer;
}

} // namespace CorePlugin
