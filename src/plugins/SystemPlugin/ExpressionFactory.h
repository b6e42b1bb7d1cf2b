// The table of expression names and how to construct each.
#pragma once

#include "PluginSDK/Expression.h"

#include <cstddef>

namespace SystemPlugin {

class PluginContext;

struct ExpressionEntry {
    const wchar_t* name;
    // Null while the class is not available: the name is registered, but
    // createExpression answers that it is unknown.
    PluginSDK::Expression* (*create)(PluginContext& context);
};

struct ExpressionTable {
    const ExpressionEntry* first;
    std::size_t count;
    const ExpressionEntry* begin() const { return first; }
    const ExpressionEntry* end() const { return first + count; }
};

// The registered names, in registration order.
ExpressionTable expressionTable();

// A new expression for the entry whose name equals `name` exactly, or null
// when no entry does (or its class is not available).
PluginSDK::Expression* createExpression(const wchar_t* name, PluginContext& context);

} // namespace SystemPlugin
