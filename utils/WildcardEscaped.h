// Wildcard matching in which "\*" and "\?" in the pattern stand for a literal
// "*" and "?" of the text.
#pragma once

#include "utils/Export.h"

#include <string>

namespace utils {

// Replaces, in the text, "*" by the character of code 1 and "?" by that of
// code 2, and in the pattern "\*" by code 1 and "\?" by code 2; then matches
// with the plain matcher. Both arguments are left in their replaced form.
// Call as matchWildcardEscapedSupport<char>(pattern, text) or <wchar_t>.
template <typename CharT, typename StringT>
UTILS_API bool matchWildcardEscapedSupport(StringT& pattern, StringT& text);
extern template UTILS_API bool matchWildcardEscapedSupport<char, std::string>(std::string&,
                                                                              std::string&);
extern template UTILS_API bool matchWildcardEscapedSupport<wchar_t, std::wstring>(std::wstring&,
                                                                                  std::wstring&);

} // namespace utils
