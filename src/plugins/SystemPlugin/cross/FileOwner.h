// The "FileOwner" expression: the user that owns a path, by name ("form" "name") or uid ("form"
// "id").
#pragma once

#include "SystemPlugin/common/OwnerProbe.h"

namespace SystemPlugin {

class FileOwner : public OwnerProbe {
public:
    FileOwner() : OwnerProbe(Owner::User) {}
};

} // namespace SystemPlugin
