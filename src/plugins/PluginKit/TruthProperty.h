// Reading a truth-valued property strictly: exactly "true" or "false".
#pragma once

#include "PluginKit/TruthValues.h"

#include "PluginSDK/Expression.h"

namespace PluginKit {

// Sets `value` from the property `name`: `fallback` when it is absent, else
// its truth value. False (and `value` unchanged) for any other text, "TRUE"
// and " true" included.
inline bool readTruthProperty(const PluginSDK::Expression& expression, const wchar_t* name,
                              bool fallback, bool& value) {
    const wchar_t* text = expression.getProperty(name);
    if (!text) {
        value = fallback;
        return true;
    }
    if (!isTruthValue(text))
        return false;
    value = isTrueText(text);
    return true;
}

} // namespace PluginKit
