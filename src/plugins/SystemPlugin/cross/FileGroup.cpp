// What the "FileGroup" expression says of itself.
#include "SystemPlugin/cross/FileGroup.h"

#include "SystemPlugin/common/PropertyRows.h"

namespace SystemPlugin {

// What FileGroup says of itself.

const PluginKit::ExpressionInfo FileGroup::kInfo = PluginKit::operand(
    L"FileGroup", PluginKit::ResultText::Any, kOwnerPropertyRows, "the group's name, or the gid");

} // namespace SystemPlugin
