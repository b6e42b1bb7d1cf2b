// The [Install] section of a unit file and its drop-ins, read as systemctl
// reads them to tell whether a unit is enabled: the settings Alias=,
// WantedBy=, RequiredBy=, DefaultInstance= and Also=, and the faults that
// make systemctl refuse the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace SystemPlugin {

class UnitInstallSection {
public:
    // What the files of one unit say, added up in the order they are read.
    struct Rules {
        std::vector<std::string> aliases;
        std::vector<std::string> wantedBy;
        std::vector<std::string> requiredBy;
        std::vector<std::string> also;
        std::string defaultInstance; // empty: none

        // Whether enabling the unit would create links: Alias=, WantedBy= or RequiredBy=.
        bool hasRules() const {
            return !aliases.empty() || !wantedBy.empty() || !requiredBy.empty();
        }
    };

    // The longest line systemd reads; a longer one makes it refuse the file.
    static constexpr std::size_t kMaxLine = std::size_t{1} << 20;

    // Adds what `text` (a unit file or drop-in of the unit named `unit`) sets to
    // `rules`. False, with the reason, when systemctl refuses the file: a bad
    // section header, a line that is not UTF-8, a line over kMaxLine, an Also=
    // that names no valid unit, a bad DefaultInstance=, a specifier systemd
    // does not know. A specifier whose value depends on the host (%H, %m...)
    // is refused too, as its outcome cannot be known from the files.
    static bool read(std::string_view text, std::string_view unit, Rules& rules,
                     std::string& reason);
};

} // namespace SystemPlugin
