// Lines of a file as systemd reads them (read_line): a line ends at '\n',
// '\r' or NUL; "\r\n", "\n\r" and a NUL after another line end are one line
// end, while a line end repeated ("\n\n", "\r\r") starts an empty line.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace SystemPlugin {

class SystemdLines {
public:
    // systemd refuses a line of this many characters or more.
    static constexpr std::size_t kLongLineMax = std::size_t{1} << 20;

    using Visitor = std::function<void(std::string_view line)>;

    // Calls `visit` for each line in order, empty ones included; false when a
    // line is too long (the lines before it were visited).
    static bool forEach(std::string_view text, const Visitor& visit);

    // `text` without systemd's white space at either end: blanks and line
    // ends, not '\v' or '\f'.
    static std::string_view strip(std::string_view text);
};

} // namespace SystemPlugin
