// The "FileGroup" expression: the group that owns a path, by name or gid.
#pragma once

#include "PluginKit/Description.h"
#include "SystemPlugin/common/OwnerProbe.h"

namespace SystemPlugin {

class FileGroup : public OwnerProbe {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    FileGroup() : OwnerProbe(Owner::Group) {}
};

} // namespace SystemPlugin
