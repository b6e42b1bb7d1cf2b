// The "FileGroup" expression: the group that owns a path, by name or gid.
#pragma once

#include "SystemPlugin/common/OwnerProbe.h"

namespace SystemPlugin {

class FileGroup : public OwnerProbe {
public:
    FileGroup() : OwnerProbe(Owner::Group) {}
};

} // namespace SystemPlugin
