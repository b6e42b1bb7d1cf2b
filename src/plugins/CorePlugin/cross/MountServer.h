// The "MountServer" expression: the server of the network mount that holds a path ("" for a local
// one).
#pragma once

#include "common/MountProbe.h"

namespace CorePlugin {

class MountServer : public MountProbe {
public:
    explicit MountServer(mountlist* mounts) : MountProbe(mounts) {}

protected:
    String lookup(const base::MountAnswer* mount, const wchar_t* path) const override;
};

} // namespace CorePlugin
