// A plug-in's table of expressions: each one's description row and how to
// construct it, and the lookup by name. `Context` is what every constructor
// takes: the state the plug-in hands its expressions.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/Expression.h"

#include <cstddef>
#include <cwchar>

namespace PluginKit {

template <typename Context> struct ExpressionEntry {
    const ExpressionInfo* info; // its name is the registered name
    PluginSDK::Expression* (*create)(Context context);
};

template <typename Context> struct ExpressionTable {
    const ExpressionEntry<Context>* first;
    std::size_t count;
    const ExpressionEntry<Context>* begin() const { return first; }
    const ExpressionEntry<Context>* end() const { return first + count; }

    // A new expression for the first entry whose name equals `name` exactly,
    // or null when no entry does.
    PluginSDK::Expression* create(const wchar_t* name, Context context) const {
        // The first characters are compared inline: most rows differ there.
        for (const ExpressionEntry<Context>& entry : *this)
            if (entry.info->name[0] == name[0] && std::wcscmp(entry.info->name, name) == 0)
                return entry.create(context);
        return nullptr;
    }
};

// The row of the expression class `T` (its kInfo) with `make` as its constructor.
template <typename T, typename Context>
constexpr ExpressionEntry<Context> entry(PluginSDK::Expression* (*make)(Context)) {
    return ExpressionEntry<Context>{&T::kInfo, make};
}

} // namespace PluginKit
