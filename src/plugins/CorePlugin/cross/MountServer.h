// The "MountServer" expression: the server of the network mount that holds a path ("" for a local
// one).
#pragma once

#include "CorePlugin/common/MountProbe.h"
#include "PluginKit/Description.h"

namespace CorePlugin {

class MountServer : public MountProbe {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    explicit MountServer(mountlist* mounts) : MountProbe(mounts) {}

protected:
    String lookup(const base::MountAnswer* mount, const wchar_t* path) const override;
};

} // namespace CorePlugin
