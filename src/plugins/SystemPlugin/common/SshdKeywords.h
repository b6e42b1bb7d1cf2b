// The keywords of sshd_config that OpenSSH 9.2 knows, and the arguments it
// takes for each: a line sshd refuses (an unknown keyword, a missing or extra
// argument, a value it does not read) makes sshd refuse the whole file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace SystemPlugin {

class SshdKeywords {
public:
    struct Keyword {
        std::string_view name;       // the canonical name (an alias's keyword)
        bool allowedInMatch = false; // may stand in a Match block
        std::size_t row = 0;         // in the table of arguments
    };

    // The keyword `word` names (without regard to case), or null for one
    // sshd does not know. "Match" and "Include" are known and checked by the
    // caller.
    static const Keyword* find(std::string_view word);

    // Whether sshd takes `arguments` for the keyword; `why` tells what it
    // refuses.
    static bool accepts(const Keyword& keyword, const std::vector<std::string>& arguments,
                        std::string& why);
};

} // namespace SystemPlugin
