// Records of /etc/passwd, /etc/shadow, /etc/group and /etc/gshadow as glibc's
// files module reads them: a record glibc's parser refuses (too few fields, a
// number it does not read, one past 32 bits) is skipped, and so is a '+' or
// '-' entry, which glibc lists but never returns for a name or an id.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace SystemPlugin {

class GlibcRecords {
public:
    // Which parser a file gets, by its name: "passwd", "shadow", "group" or
    // "gshadow", with anything after ("passwd-", "group.orig"); any other name
    // is split at ':' only.
    enum class Kind { Other, Passwd, Shadow, Group, Gshadow };
    static Kind kindOf(std::string_view path);

    // Calls `visit(fields)` for each record of `text` a lookup can return, in
    // order: lines end at '\n' and at a NUL before it; leading white space,
    // blank lines and '#' lines are skipped. The last field of a passwd
    // (shell) or group (members) record holds the rest of the line.
    template <typename Visit> static void forEach(std::string_view text, Kind kind, Visit visit) {
        std::vector<std::string_view> fields;
        while (!text.empty()) {
            const std::size_t end = std::min(text.find('\n'), text.size());
            const std::string_view line = text.substr(0, end);
            text.remove_prefix(std::min(end + 1, text.size()));
            if (parse(line, kind, fields))
                visit(fields);
        }
    }

    // One line's fields; false when glibc skips it.
    static bool parse(std::string_view line, Kind kind, std::vector<std::string_view>& fields);

    // The items of a group's member list as glibc reads it: split at
    // `separator`, leading white space skipped, empty items left out.
    static void items(std::string_view list, char separator, std::vector<std::string>& out);
};

} // namespace SystemPlugin
