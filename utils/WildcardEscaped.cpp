// Wildcard matching with escaped wildcards.
#include "utils/WildcardEscaped.h"

#include "utils/StringOps.h"
#include "utils/Wildcard.h"

namespace utils {

template <typename CharT, typename StringT>
bool matchWildcardEscapedSupport(StringT& pattern, StringT& text) {
    const CharT WILDCARD_ASTERISK[] = {CharT('*'), CharT(0)};
    const CharT WILDCARD_QUESTION_MARK[] = {CharT('?'), CharT(0)};
    const CharT WILDCARD_ESCAPED_ASTERISK[] = {CharT('\\'), CharT('*'), CharT(0)};
    const CharT WILDCARD_ESCAPED_QUESTION_MARK[] = {CharT('\\'), CharT('?'), CharT(0)};
    const CharT WILDCARD_ALL_CHARS[] = {CharT(1), CharT(0)};
    const CharT WILDCARD_SINGLE_CHAR[] = {CharT(2), CharT(0)};

    replaceAllStrings(text, StringT(WILDCARD_ASTERISK), StringT(WILDCARD_ALL_CHARS));
    replaceAllStrings(text, StringT(WILDCARD_QUESTION_MARK), StringT(WILDCARD_SINGLE_CHAR));
    replaceAllStrings(pattern, StringT(WILDCARD_ESCAPED_ASTERISK), StringT(WILDCARD_ALL_CHARS));
    replaceAllStrings(pattern, StringT(WILDCARD_ESCAPED_QUESTION_MARK),
                      StringT(WILDCARD_SINGLE_CHAR));
    return matchWildcard(pattern, text);
}

template UTILS_API bool matchWildcardEscapedSupport<char, std::string>(std::string&, std::string&);
template UTILS_API bool matchWildcardEscapedSupport<wchar_t, std::wstring>(std::wstring&,
                                                                           std::wstring&);

} // namespace utils
