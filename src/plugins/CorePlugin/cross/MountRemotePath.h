// The "MountRemotePath" expression: the remote path of a path on its network mount, the path itself
// otherwise.
#pragma once

#include "common/MountProbe.h"

namespace CorePlugin {

class MountRemotePath : public MountProbe {
public:
    explicit MountRemotePath(mountlist* mounts) : MountProbe(mounts) {}

protected:
    String lookup(const base::MountAnswer* mount, const wchar_t* path) const override;
};

} // namespace CorePlugin
