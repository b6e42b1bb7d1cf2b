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

namespace detail {
// The string types the template forms below take; any other type (a `char*`
// variable, say) falls to the character-array matcher as it always did.
template <typename StringT> struct StringMatch {};
template <> struct StringMatch<std::string> { using type = bool; };
template <> struct StringMatch<std::wstring> { using type = bool; };
} // namespace detail

// The same as the string overloads above, spelled with the string type as
// template argument: matchWildcard<std::string>(pattern, text) and
// matchWildcard<std::wstring>(pattern, text, ignoreCase).
template <typename StringT>
typename detail::StringMatch<StringT>::type matchWildcard(StringT& pattern, StringT& text);
template <typename StringT>
typename detail::StringMatch<StringT>::type matchWildcard(StringT& pattern, StringT& text,
                                                          bool ignoreCase);
template <> UTILS_API bool matchWildcard<std::string>(std::string& pattern, std::string& text);
template <> UTILS_API bool matchWildcard<std::wstring>(std::wstring& pattern, std::wstring& text);
template <>
UTILS_API bool matchWildcard<std::string>(std::string& pattern, std::string& text, bool ignoreCase);
template <>
UTILS_API bool matchWildcard<std::wstring>(std::wstring& pattern, std::wstring& text,
                                           bool ignoreCase);

// Lower-cases in place by the current locale's single-byte mapping; wide
// characters outside -128..255 are left unchanged.
UTILS_API void stringToLower(std::string& text);
UTILS_API void stringToLower(std::wstring& text);

} // namespace utils
