// The "MountRemotePath" expression.
#include "CorePlugin/cross/MountRemotePath.h"

#include "CorePlugin/common/PropertyRows.h"

#include "base/MountTable.h"

namespace CorePlugin {

String MountRemotePath::lookup(const base::MountAnswer* mount, const wchar_t* path) const {
    String answer = mount ? widen(mount->remotePath) : String();
    // A local mount, or none, has no remote path: the path itself is the answer.
    if (answer.length() == 0)
        return String(path);
    return answer;
}

// What MountRemotePath says of itself.

const PluginKit::ExpressionInfo MountRemotePath::kInfo =
    PluginKit::operand(L"MountRemotePath", PluginKit::ResultText::Any, kMountPropertyRows,
                       "the remote path on the server, or the path itself for local mounts");

} // namespace CorePlugin
