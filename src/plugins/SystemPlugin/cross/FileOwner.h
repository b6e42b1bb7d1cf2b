// The "FileOwner" expression: the user that owns a path, by name ("form" "name") or uid ("form"
// "id").
#pragma once

#include "PluginKit/Description.h"
#include "SystemPlugin/common/OwnerProbe.h"

namespace SystemPlugin {

class FileOwner : public OwnerProbe {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    FileOwner() : OwnerProbe(Owner::User) {}
};

} // namespace SystemPlugin
