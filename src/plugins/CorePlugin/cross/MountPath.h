// The "MountPath" expression: the mount point of the mount that holds a path.
#pragma once

#include "CorePlugin/common/MountProbe.h"
#include "PluginKit/Description.h"

namespace CorePlugin {

class MountPath : public MountProbe {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    explicit MountPath(mountlist* mounts) : MountProbe(mounts) {}

protected:
    String lookup(const base::MountAnswer* mount, const wchar_t* path) const override;
};

} // namespace CorePlugin
