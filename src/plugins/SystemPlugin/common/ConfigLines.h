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
