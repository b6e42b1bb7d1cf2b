// Matching a text against a POSIX extended regular expression and capturing
// its first group.
#pragma once

#include "utils/Export.h"

#include <string>

namespace utils {

// Status codes of matchString.
enum MatchStringStatus {
    MATCH_STRING_MATCHED = 0,
    MATCH_STRING_NO_MATCH = 1,
    MATCH_STRING_BAD_PATTERN = 4,
};

// Clears `captured`, then matches `text` against `pattern` (POSIX extended
// syntax). On a match, `captured` receives the text of the first parenthesised
// group (empty when the pattern has none or the group took no part) and 0 is
// returned; 1 means no match, 4 a pattern that does not compile. A null
// pattern does not compile; a null text matches nothing.
UTILS_API int matchString(const char* pattern, const char* text, std::string& captured);

} // namespace utils
