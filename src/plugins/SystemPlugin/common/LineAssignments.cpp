// The line-oriented readers: login.defs, /etc/default/useradd and the generic
// "key = value" form.
#include "SystemPlugin/common/Assignments.h"
#include "SystemPlugin/common/ConfigLines.h"

namespace SystemPlugin {
namespace {

bool isCommentStart(char c) {
    return c == '#' || c == ';';
}

void add(Values& values, std::string_view value) {
    values.emplace_back(value);
}

} // namespace

// As the shadow tools read it (def_load): the file in pieces of at most 1023
// bytes as fgets reads it into its buffer of 1024 (a longer line is two
// pieces), each up to its first NUL; trailing white space cut, leading blanks
// skipped; the name ends at the first blank, then any run of blanks and '"'
// is skipped and the value ends at the next '"'. Nothing after the value is a
// comment.
TErrorCode readLoginDefsAssignments(std::string_view text, const KeyQuery& query, Values& values) {
    constexpr std::size_t kBuffer = 1024;
    while (!text.empty()) {
        std::string_view line = upToNul(nextPiece(text, kBuffer));
        while (!line.empty() && isSpace(line.back()))
            line.remove_suffix(1);
        while (!line.empty() && isBlank(line.front()))
            line.remove_prefix(1);
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t end = line.find_first_of(" \t");
        if (end == std::string_view::npos || line.substr(0, end) != query.key)
            continue;
        std::string_view value = line.substr(end + 1);
        while (!value.empty() && (isBlank(value.front()) || value.front() == '"'))
            value.remove_prefix(1);
        add(values, value.substr(0, value.find('"')));
    }
    return 0;
}

// As useradd reads it: the key is everything before the first '=', the value
// everything after it, verbatim.
TErrorCode readUseraddAssignments(std::string_view text, const KeyQuery& query, Values& values) {
    forEachLine(text, [&](std::string_view line) {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || line.substr(0, equals) != query.key)
            return;
        add(values, line.substr(equals + 1));
    });
    return 0;
}

// "key = value": blanks trimmed, '#' after a blank and outside quotes starts a
// comment, one pair of surrounding quotes removed.
TErrorCode readPlainAssignments(std::string_view text, const KeyQuery& query, Values& values) {
    forEachLine(text, [&](std::string_view line) {
        line = trimBlanks(line);
        if (line.empty() || isCommentStart(line.front()))
            return;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || trimBlanks(line.substr(0, equals)) != query.key)
            return;
        std::string_view value = line.substr(equals + 1);
        char quote = '\0';
        for (std::size_t i = 0; i < value.size(); ++i) {
            const char c = value[i];
            if (quote != '\0') {
                if (c == quote)
                    quote = '\0';
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '#' && i > 0 && isBlank(value[i - 1])) {
                value = value.substr(0, i);
                break;
            }
        }
        value = trimBlanks(value);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        add(values, value);
    });
    return 0;
}

} // namespace SystemPlugin
