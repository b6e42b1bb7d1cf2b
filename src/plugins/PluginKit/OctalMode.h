// Permission modes written in octal, as FileMode gives them and ModeWithin
// reads them.
#pragma once

#include <string>

namespace PluginKit {

// Reads 1 to 4 octal digits and nothing else (no sign, no blank). False, and
// `mode` unchanged, for any other text.
bool readOctalMode(const std::wstring& text, unsigned& mode);

} // namespace PluginKit
