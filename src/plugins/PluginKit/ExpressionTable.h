// A plug-in's table of expression names and how to construct each, and the
// lookup by name. `Context` is what every constructor row takes: the state
// the plug-in hands its expressions.
#pragma once

#include "PluginSDK/Expression.h"

#include <cstddef>
#include <cwchar>

namespace PluginKit {

template <typename Context> struct ExpressionEntry {
    const wchar_t* name;
    // Null while the class is not available: the name is registered, but
    // create answers that it is unknown.
    PluginSDK::Expression* (*create)(Context context);
};

template <typename Context> struct ExpressionTable {
    const ExpressionEntry<Context>* first;
    std::size_t count;
    const ExpressionEntry<Context>* begin() const { return first; }
    const ExpressionEntry<Context>* end() const { return first + count; }

    // A new expression for the first entry whose name equals `name` exactly,
    // or null when no entry does (or its class is not available).
    PluginSDK::Expression* create(const wchar_t* name, Context context) const {
        // The first characters are compared inline: most rows differ there.
        for (const ExpressionEntry<Context>& entry : *this)
            if (entry.name[0] == name[0] && std::wcscmp(entry.name, name) == 0)
                return entry.create ? entry.create(context) : nullptr;
        return nullptr;
    }
};

} // namespace PluginKit
