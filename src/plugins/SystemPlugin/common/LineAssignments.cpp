// The line-oriented readers: login.defs, /etc/default/useradd, sysctl.d,
// systemd configuration files and the generic "key = value" form.
#include "SystemPlugin/common/Assignments.h"
#include "SystemPlugin/common/ConfigLines.h"
#include "SystemPlugin/common/SysctlName.h"

#include <fnmatch.h>

namespace SystemPlugin {
namespace {

bool isCommentStart(char c) {
    return c == '#' || c == ';';
}

void add(Values& values, std::string_view value) {
    values.emplace_back(value);
}

} // namespace

bool isDecimalInteger(std::string_view value) {
    while (!value.empty() && isBlank(value.front()))
        value.remove_prefix(1);
    if (!value.empty() && (value.front() == '+' || value.front() == '-'))
        value.remove_prefix(1);
    if (value.empty())
        return false;
    for (char c : value)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// As the shadow tools read it: trailing white space cut, the name ends at the
// first blank, then any run of blanks and '"' is skipped and the value ends at
// the next '"'. Nothing after the value is a comment.
void readLoginDefsAssignments(std::string_view text, const KeyQuery& query, Values& values) {
    forEachLine(text, [&](std::string_view line) {
        while (!line.empty() && isSpace(line.back()))
            line.remove_suffix(1);
        while (!line.empty() && isBlank(line.front()))
            line.remove_prefix(1);
        if (line.empty() || line.front() == '#')
            return;
        const std::size_t end = line.find_first_of(" \t");
        if (end == std::string_view::npos || line.substr(0, end) != query.key)
            return;
        std::string_view value = line.substr(end + 1);
        while (!value.empty() && (isBlank(value.front()) || value.front() == '"'))
            value.remove_prefix(1);
        add(values, value.substr(0, value.find('"')));
    });
}

// As useradd reads it: the key is everything before the first '=', the value
// everything after it, verbatim.
void readUseraddAssignments(std::string_view text, const KeyQuery& query, Values& values) {
    forEachLine(text, [&](std::string_view line) {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || line.substr(0, equals) != query.key)
            return;
        add(values, line.substr(equals + 1));
    });
}

// As systemd-sysctl reads it: "key = value" with white space trimmed, a leading
// '-' (ignore failures) dropped. A key with glob characters sets every
// parameter it matches, but an assignment naming the parameter outright wins
// over any glob, wherever it stands.
void readSysctlAssignments(std::string_view text, const KeyQuery& query, Values& values) {
    const std::string wanted = sysctlNormalise(query.key);
    Values globbed;
    forEachLine(text, [&](std::string_view line) {
        line = trimSpaces(line);
        if (line.empty() || isCommentStart(line.front()))
            return;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return;
        std::string_view key = line.substr(0, equals);
        if (!key.empty() && key.front() == '-')
            key.remove_prefix(1);
        const std::string normal = sysctlNormalise(trimSpaces(key));
        const std::string_view value = trimSpaces(line.substr(equals + 1));
        if (normal == wanted)
            add(values, value);
        else if (normal.find_first_of("*?[") != std::string::npos &&
                 fnmatch(normal.c_str(), wanted.c_str(), FNM_PATHNAME) == 0)
            add(globbed, value);
    });
    if (values.empty())
        values = std::move(globbed);
}

// As systemd's configuration parser reads it: a line ending in '\' continues
// on the next (the '\' becomes a blank), "[Section]" headers, "key = value"
// with white space trimmed; keys outside the wanted section do not count.
void readSystemdAssignments(std::string_view text, const KeyQuery& query, Values& values) {
    bool inSection = false;
    std::string joined;
    bool continuing = false;
    forEachLine(text, [&](std::string_view raw) {
        const std::string_view stripped = trimSpaces(raw);
        if (continuing && !stripped.empty() && isCommentStart(stripped.front()))
            return; // comment lines inside a continuation are dropped
        std::size_t backslashes = 0;
        while (backslashes < raw.size() && raw[raw.size() - 1 - backslashes] == '\\')
            ++backslashes;
        if (backslashes % 2 == 1) {
            joined.append(raw.substr(0, raw.size() - 1));
            joined += ' ';
            continuing = true;
            return;
        }
        joined.append(raw);
        continuing = false;
        const std::string_view line = trimSpaces(joined);
        if (line.empty() || isCommentStart(line.front())) {
        } else if (line.front() == '[') {
            inSection = line.size() >= 2 && line.back() == ']' &&
                        line.substr(1, line.size() - 2) == query.section;
        } else if (inSection) {
            const std::size_t equals = line.find('=');
            if (equals != std::string_view::npos && trimSpaces(line.substr(0, equals)) == query.key)
                add(values, trimSpaces(line.substr(equals + 1)));
        }
        joined.clear();
    });
}

// "key = value": blanks trimmed, '#' after a blank and outside quotes starts a
// comment, one pair of surrounding quotes removed.
void readPlainAssignments(std::string_view text, const KeyQuery& query, Values& values) {
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
}

} // namespace SystemPlugin
