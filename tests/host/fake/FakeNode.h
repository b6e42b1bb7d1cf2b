// What every fake expression shares: its label in the call log and the
// properties that make it fail.
#pragma once

#include "PluginSDK/Expression.h"

#include <string>

namespace fakeplugin {

// The property "id", or `fallback` when it is absent, as UTF-8.
std::string labelOf(const PluginSDK::Expression& expression, const char* fallback);

// Records "<label>.<what>".
void recordCall(const PluginSDK::Expression& expression, const char* fallback,
                const std::string& what);

// The code in the property `name` (a decimal number), or 0 when it is absent.
TErrorCode codeProperty(const PluginSDK::Expression& expression, const wchar_t* name);

// The property `name`, or the empty text.
std::wstring textProperty(const PluginSDK::Expression& expression, const wchar_t* name);

std::string narrow(const std::wstring& text);

} // namespace fakeplugin
