// The first two steps of every expression's checks: required properties
// (-12001) and truth-valued properties (-12002), each failure with an error
// record that names the property.
#pragma once

#include "PluginKit/PropertyChecks.h"
#include "PluginSDK/Expression.h"

namespace SystemPlugin {

// The value of `name`, or null after an error record and -12001 in `code`.
const wchar_t* requireProperty(const PluginSDK::Expression& expression, const wchar_t* name,
                               TErrorCode& code, const PluginKit::TraceTarget& trace);

// 0 with `value` set from "true" or "false" (`fallback` when `name` is not
// attached); -12002 after an error record for any other text.
TErrorCode readTruthSetting(const PluginSDK::Expression& expression, const wchar_t* name,
                            bool fallback, bool& value, const PluginKit::TraceTarget& trace);

} // namespace SystemPlugin
