// POSIX extended regular expressions with one captured group.
#include "utils/RegexMatch.h"

#include <regex.h>

namespace utils {

int matchString(const char* pattern, const char* text, std::string& captured) {
    captured.clear();
    if (!pattern)
        return MATCH_STRING_BAD_PATTERN;
    regex_t expression;
    if (regcomp(&expression, pattern, REG_EXTENDED) != 0)
        return MATCH_STRING_BAD_PATTERN;
    int status = MATCH_STRING_NO_MATCH;
    regmatch_t matches[2];
    if (text && regexec(&expression, text, 2, matches, 0) == 0) {
        status = MATCH_STRING_MATCHED;
        const regmatch_t& group = matches[1];
        if (group.rm_so >= 0 && group.rm_eo >= group.rm_so)
            captured.assign(text + group.rm_so,
                            static_cast<std::size_t>(group.rm_eo - group.rm_so));
    }
    regfree(&expression);
    return status;
}

} // namespace utils
