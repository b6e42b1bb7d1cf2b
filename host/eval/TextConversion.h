// UTF-8 forms of the wide texts the plug-in takes and gives.
#pragma once

#include <string>

namespace corehost {

// A character without a UTF-8 form becomes U+FFFD.
std::string toUtf8(const std::wstring& text);
std::string toUtf8(const wchar_t* text);

// Invalid sequences become U+FFFD.
std::wstring fromUtf8(const std::string& text);

} // namespace corehost
