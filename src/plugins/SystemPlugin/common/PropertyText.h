// The UTF-8 form of property texts, which the readers compare with file bytes.
#pragma once

#include <string>

namespace SystemPlugin {

// The UTF-8 form of a property text (a character without one becomes U+FFFD);
// "" for null.
std::string utf8Of(const wchar_t* text);

} // namespace SystemPlugin
