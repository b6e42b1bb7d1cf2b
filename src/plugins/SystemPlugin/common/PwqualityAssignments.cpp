// pwquality.conf as libpwquality reads it: lines of at most 1022 characters
// (a longer one, or a NUL before a line end, makes the file malformed); '#'
// anywhere starts a comment; the name ends at white space or '=', then white
// space, at most one '=' and white space; names without regard to case. An
// unknown name, or an integer setting whose value strtol does not read whole
// in base 10, makes libpwquality refuse the file.
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/Assignments.h"
#include "SystemPlugin/common/ConfigLines.h"
#include "SystemPlugin/common/ProgramNumber.h"

#include <strings.h>

#include <algorithm>

namespace SystemPlugin {
namespace {

// The settings libpwquality 1.4 knows; true for those holding an integer.
constexpr std::pair<std::string_view, bool> kSettings[] = {{"difok", true},
                                                           {"minlen", true},
                                                           {"dcredit", true},
                                                           {"ucredit", true},
                                                           {"lcredit", true},
                                                           {"ocredit", true},
                                                           {"minclass", true},
                                                           {"maxrepeat", true},
                                                           {"maxclassrepeat", true},
                                                           {"maxsequence", true},
                                                           {"gecoscheck", true},
                                                           {"dictcheck", true},
                                                           {"usercheck", true},
                                                           {"usersubstr", true},
                                                           {"enforcing", true},
                                                           {"retry", true},
                                                           {"badwords", false},
                                                           {"dictpath", false},
                                                           {"enforce_for_root", false},
                                                           {"local_users_only", false}};

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// fgets into a buffer of 1024 bytes.
constexpr std::size_t kLineBuffer = 1024;

} // namespace

TErrorCode readPwqualityAssignments(std::string_view text, const KeyQuery& query, Values& values) {
    while (!text.empty()) {
        const std::string_view piece = nextPiece(text, kLineBuffer);
        // fgets met the end of the file (feof) only when it stopped short.
        const bool atEnd = piece.back() != '\n' && piece.size() < kLineBuffer - 1;
        std::string_view line = upToNul(piece);
        if (!line.empty() && line.back() != '\n' && !atEnd)
            return RC_REFUSED_BY_PROGRAM;
        line = trimSpaces(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        std::size_t end = 0;
        while (end < line.size() && !isSpace(line[end]) && line[end] != '=')
            ++end;
        const std::string_view name = line.substr(0, end);
        std::string_view value = trimSpaces(line.substr(end));
        if (!value.empty() && value.front() == '=')
            value = trimSpaces(value.substr(1));
        const auto* setting =
            std::find_if(std::begin(kSettings), std::end(kSettings),
                         [&](const auto& known) { return sameName(known.first, name); });
        std::string number;
        if (setting == std::end(kSettings) ||
            (setting->second && !ProgramNumber::pwquality(value, number)))
            return RC_REFUSED_BY_PROGRAM;
        if (sameName(name, query.key))
            values.emplace_back(value);
    }
    return 0;
}

} // namespace SystemPlugin
