// The "MountPath" expression: the mount point of the mount that holds a path.
#pragma once

#include "common/MountProbe.h"

namespace CorePlugin {

class MountPath : public MountProbe {
public:
    explicit MountPath(mountlist* mounts) : MountProbe(mounts) {}

protected:
    String lookup(const base::MountAnswer* mount, const wchar_t* path) const override;
};

} // namespace CorePlugin
