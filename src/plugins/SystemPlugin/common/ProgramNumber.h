// Integers as the program that owns a file reads them: each reading gives the
// number in decimal, or false where the program refuses the text.
#pragma once

#include <string>
#include <string_view>

namespace SystemPlugin {

class ProgramNumber {
public:
    using Reading = bool (*)(std::string_view text, std::string& number);

    // Optional leading blanks and sign, then decimal digits to the end.
    static bool decimal(std::string_view text, std::string& number);
    // shadow's getdef_num: strtol with base 0 over the whole text ("0x10" is
    // 16, "010" is 8, "099" is refused), within the range of an int.
    static bool shadow(std::string_view text, std::string& number);
    // useradd reading /etc/default/useradd: shadow's reading, at least -1.
    static bool useradd(std::string_view text, std::string& number);
    // The kernel writing a sysctl integer (proc_dointvec): white space
    // skipped, an optional '-', a number in base 0 ending at a blank, a tab,
    // a line end or the end; what follows it is not read. Within an int.
    static bool kernel(std::string_view text, std::string& number);
    // libpwquality: strtol with base 10 over the whole text ("020" is 20),
    // within the range of an int.
    static bool pwquality(std::string_view text, std::string& number);
};

} // namespace SystemPlugin
