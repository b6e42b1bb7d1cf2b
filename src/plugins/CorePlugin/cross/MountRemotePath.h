// The "MountRemotePath" expression: the remote path of a path on its network mount, the path itself
// otherwise.
#pragma once

#include "CorePlugin/common/MountProbe.h"
#include "PluginKit/Description.h"

namespace CorePlugin {

class MountRemotePath : public MountProbe {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    explicit MountRemotePath(mountlist* mounts) : MountProbe(mounts) {}

protected:
    String lookup(const base::MountAnswer* mount, const wchar_t* path) const override;
};

} // namespace CorePlugin
