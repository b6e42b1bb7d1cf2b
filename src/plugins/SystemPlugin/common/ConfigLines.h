// Line and blank helpers shared by the configuration-file readers.
#pragma once

#include "PluginKit/TextLines.h"

#include <string_view>

namespace SystemPlugin {

// Calls `visit(line)` for every line of `text`, in order (PluginKit's rule).
template <typename Visit> void forEachLine(std::string_view text, Visit visit) {
    PluginKit::TextLines::forEachLine(text, [&visit](std::string_view line) {
        visit(line);
        return true;
    });
}

// The next piece of `text` that fgets reads into a buffer of `buffer` bytes:
// up to and with the next '\n', at most buffer - 1 bytes; `text` loses it.
inline std::string_view nextPiece(std::string_view& text, std::size_t buffer) {
    std::size_t size = text.size() < buffer - 1 ? text.size() : buffer - 1;
    const std::size_t newline = text.substr(0, size).find('\n');
    if (newline != std::string_view::npos)
        size = newline + 1;
    const std::string_view piece = text.substr(0, size);
    text.remove_prefix(size);
    return piece;
}

// `text` as the C string functions see it: up to its first NUL.
inline std::string_view upToNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
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
