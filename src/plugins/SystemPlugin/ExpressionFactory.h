// The table of expression names and how to construct each.
#pragma once

#include "PluginKit/ExpressionTable.h"

namespace SystemPlugin {

class PluginContext;

using ExpressionEntry = PluginKit::ExpressionEntry<PluginContext&>;
using ExpressionTable = PluginKit::ExpressionTable<PluginContext&>;

// The registered names, in registration order.
ExpressionTable expressionTable();

// A new expression for the entry whose name equals `name` exactly, or null
// when no entry does (or its class is not available).
PluginSDK::Expression* createExpression(const wchar_t* name, PluginContext& context);

} // namespace SystemPlugin
