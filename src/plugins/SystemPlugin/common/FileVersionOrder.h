// The order `ls -v` sorts names in (GNU filevercmp, then bytes).
#pragma once

#include <string_view>

namespace SystemPlugin {

class FileVersionOrder {
public:
    // Negative, zero or positive as `a` sorts before, with or after `b`:
    // runs of digits compare as numbers, letters before other characters,
    // `~` before everything, a trailing suffix such as ".rules" compared
    // only when the rest is equal; equal names by their bytes.
    static int compare(std::string_view a, std::string_view b);
    bool operator()(std::string_view a, std::string_view b) const { return compare(a, b) < 0; }
};

} // namespace SystemPlugin
