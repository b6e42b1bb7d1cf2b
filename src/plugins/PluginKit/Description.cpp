// Lookups in description rows.
#include "PluginKit/Description.h"

namespace PluginKit {

const PropertyInfo* findProperty(const ExpressionInfo& expression, const wchar_t* name) {
    for (const PropertyInfo& property : expression.properties)
        if (!property.numbered && std::wcscmp(property.name, name) == 0)
            return &property;
    return nullptr;
}

int indexOf(Values values, const wchar_t* value) {
    if (!value)
        return -1;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (std::wcscmp(values[i], value) == 0)
            return static_cast<int>(i);
    return -1;
}

} // namespace PluginKit
