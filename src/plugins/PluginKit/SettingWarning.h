// The warning record of a plug-in setting that is not taken.
#pragma once

namespace PluginKit {

// Writes "Unexpected plugin property, skipping. plugin=[P] name=[N] value=[V]"
// at warning level in the scope `function`, naming `source` and `line`. A null
// name or value is written as the empty text.
void warnSkippedSetting(const wchar_t* pluginName, const wchar_t* function, const char* source,
                        int line, const wchar_t* name, const wchar_t* value);

} // namespace PluginKit
