// Line and blank helpers shared by the configuration-file readers: lines end at
// '\n', a '\r' before it is dropped, a last line without '\n' counts.
#pragma once

#include <cstddef>
#include <string_view>

namespace SystemPlugin {

// Calls `visit(line)` for every line of `text`, in order.
template <typename Visit> void forEachLine(std::string_view text, Visit visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool ended = end != std::string_view::npos;
        if (!ended)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (ended && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        visit(line);
        start = end + 1;
    }
}

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// What C's isspace() accepts in the "C" locale.
inline bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// `text` without the characters `strip` accepts at either end.
template <typename Strip> std::string_view trimmed(std::string_view text, Strip strip) {
    while (!text.empty() && strip(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && strip(text.back()))
        text.remove_suffix(1);
    return text;
}

inline std::string_view trimBlanks(std::string_view text) {
    return trimmed(text, isBlank);
}

inline std::string_view trimSpaces(std::string_view text) {
    return trimmed(text, isSpace);
}

} // namespace SystemPlugin
