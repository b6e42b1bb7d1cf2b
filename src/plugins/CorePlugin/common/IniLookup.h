// What the two INI probes share: their properties and the reading of the file.
#pragma once

#include "PluginSDK/Expression.h"

#include <string>

namespace CorePlugin {

// 0 when "file", "section" and "key" are all attached. Otherwise one code:
// -11020 when "key" is missing, whatever else is; else -11027 when "section"
// is; else -11014 ("file" missing).
TErrorCode checkIniProperties(const PluginSDK::Expression& expression);

// Reads the file named by "file" anew and looks up "key" in "section": true,
// with `value` set, when found; false when the file cannot be read or lacks
// the section or key. The three properties must be attached.
bool lookupIniKey(const PluginSDK::Expression& expression, std::wstring& value);

} // namespace CorePlugin
