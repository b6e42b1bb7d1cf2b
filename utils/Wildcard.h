// Wildcard matching ("*" any run of characters, "?" one character; the pattern
// comes first) and the lower-casing used for case-insensitive matching.
#pragma once

#include "utils/Export.h"

#include <string>

namespace utils {

// True when the whole text matches the pattern. Both end at their first NUL.
// No allocation, constant state, at most quadratic time. Null matches nothing.
template <typename CharT> UTILS_API bool matchWildcard(const CharT* pattern, const CharT* text);
extern template UTILS_API bool matchWildcard<char>(const char*, const char*);
extern template UTILS_API bool matchWildcard<wchar_t>(const wchar_t*, const wchar_t*);

// The same on the character data of standard strings (up to a NUL they hold).
UTILS_API bool matchWildcard(std::string& pattern, std::string& text);
UTILS_API bool matchWildcard(std::wstring& pattern, std::wstring& text);

// With `ignoreCase`, lower-cases the pattern and then the text in place with
// stringToLower before matching; the arguments stay lowered.
UTILS_API bool matchWildcard(std::string& pattern, std::string& text, bool ignoreCase);
UTILS_API bool matchWildcard(std::wstring& pattern, std::wstring& text, bool ignoreCase);

// Lower-cases in place by the current locale's single-byte mapping; wide
// characters outside -128..255 are left unchanged.
UTILS_API void stringToLower(std::string& text);
UTILS_API void stringToLower(std::wstring& text);

} // namespace utils
