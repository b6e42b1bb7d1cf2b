// The table of expression names and how to construct each.
#pragma once

#include "PluginKit/ExpressionTable.h"

class mountlist;

namespace CorePlugin {

using ExpressionEntry = PluginKit::ExpressionEntry<mountlist*>;
using ExpressionTable = PluginKit::ExpressionTable<mountlist*>;

// The registered names, in registration order.
ExpressionTable expressionTable();

// A new expression for the first entry whose name equals `name` exactly, or
// null when no entry does (or its class is not available).
PluginSDK::Expression* createExpression(const wchar_t* name, mountlist* mounts);

} // namespace CorePlugin
