// What the "FileOwner" expression says of itself.
#include "SystemPlugin/cross/FileOwner.h"

#include "SystemPlugin/common/PropertyRows.h"

namespace SystemPlugin {

// What FileOwner says of itself.

const PluginKit::ExpressionInfo FileOwner::kInfo =
    PluginKit::operand(L"FileOwner", PluginKit::ResultText::Any, kOwnerPropertyRows,
                       "the owner's user name, or the uid");

} // namespace SystemPlugin
