// deb822 files (apt's .sources, dpkg's status) as apt reads them. A stanza is
// "Field: value" lines, a line starting with a space or tab going on with the
// field before it; only an empty line ends a stanza (a line of blanks goes on
// with it, as apt reads it); lines starting with '#' are dropped. Field names
// compare without regard to case; a repeated field keeps its last value. A
// stanza whose "Enabled" is false as apt reads a truth value ("no", "false",
// "without", "off", "disable" in any case, or a number that is 0: "00",
// "0x0", "+0") counts for nothing. The
// key's value in each stanza that passes every field test is given, its
// lines joined by '\n' without the blanks around them. A line that is no
// field and no continuation makes apt refuse the file (-12029).
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/Assignments.h"
#include "SystemPlugin/common/ConfigLines.h"
#include "utils/Wildcard.h"

#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <utility>

namespace SystemPlugin {
namespace {

using Stanza = std::vector<std::pair<std::string, std::string>>;

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

const std::string* field(const Stanza& stanza, std::string_view name) {
    for (auto entry = stanza.rbegin(); entry != stanza.rend(); ++entry)
        if (sameName(entry->first, name))
            return &entry->second;
    return nullptr;
}

bool passes(const Stanza& stanza, const KeyQuery& query) {
    if (const std::string* enabled = field(stanza, "Enabled")) {
        const std::string_view value = trimSpaces(*enabled);
        for (std::string_view no : {"no", "false", "without", "off", "disable"})
            if (sameName(value, no))
                return false;
        // Or a number that is 0, read whole as strtol reads it in base 0.
        const std::string number(value);
        char* end = nullptr;
        errno = 0;
        if (!number.empty() && std::strtol(number.c_str(), &end, 0) == 0 && *end == '\0' &&
            errno == 0)
            return false;
    }
    for (const FieldTest& test : query.fieldTests ? *query.fieldTests : std::vector<FieldTest>{}) {
        const std::string* value = field(stanza, test.field);
        std::string text = value ? *value : std::string();
        std::string pattern = test.operand;
        bool holds = false;
        switch (test.kind) {
        case FieldTest::Kind::Equals:
            holds = text == test.operand;
            break;
        case FieldTest::Kind::NotEquals:
            holds = text != test.operand;
            break;
        case FieldTest::Kind::Matches:
            holds = utils::matchWildcard(pattern, text);
            break;
        case FieldTest::Kind::NotMatches:
            holds = !utils::matchWildcard(pattern, text);
            break;
        }
        if (!holds)
            return false;
    }
    return true;
}

void finish(Stanza& stanza, const KeyQuery& query, Values& values) {
    if (const std::string* value = field(stanza, query.key); value && passes(stanza, query))
        values.push_back(*value);
    stanza.clear();
}

} // namespace

TErrorCode readDeb822Assignments(std::string_view text, const KeyQuery& query, Values& values) {
    Stanza stanza;
    bool refused = false;
    forEachLine(text, [&](std::string_view line) {
        if (refused)
            return;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty()) {
            finish(stanza, query, values);
        } else if (line.front() == '#') {
            return;
        } else if (isBlank(line.front())) {
            if (stanza.empty()) {
                refused = !trimSpaces(line).empty();
                return;
            }
            const std::string_view more = trimSpaces(line);
            std::string& value = stanza.back().second;
            if (!more.empty())
                value.append(value.empty() ? "" : "\n").append(more);
        } else {
            const std::size_t colon = line.find(':');
            if (colon == std::string_view::npos || colon == 0) {
                refused = true;
                return;
            }
            stanza.emplace_back(std::string(line.substr(0, colon)),
                                std::string(trimSpaces(line.substr(colon + 1))));
        }
    });
    if (refused)
        return RC_REFUSED_BY_PROGRAM;
    finish(stanza, query, values);
    return 0;
}

} // namespace SystemPlugin
