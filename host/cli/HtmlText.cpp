// HTML escaping over a UTF-8 decoder that refuses overlong forms, surrogates
// and code points above U+10FFFF.
#include "cli/HtmlText.h"

#include <cstdio>

namespace corehost {

namespace {

// The length of the valid UTF-8 sequence at `at` and its code point; 0 when
// the byte there does not start one.
std::size_t decode(const std::string& text, std::size_t at, char32_t& point) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        point = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        point = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        point = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        point = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        point = (point << 6) | (byte(at + i) & 0x3F);
    }
    if (point < minimum || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
        return 0;
    return length;
}

bool shownAsEscape(char32_t point) {
    return (point >= 0x80 && point <= 0x9F) || point == 0x2028 || point == 0x2029 ||
           (point >= 0x202A && point <= 0x202E) || (point >= 0x2066 && point <= 0x2069) ||
           point == 0x200E || point == 0x200F || point == 0xFEFF || point == 0xFFFE ||
           point == 0xFFFF;
}

} // namespace

std::string escapeHtml(const std::string& text) {
    std::string html;
    html.reserve(text.size() + text.size() / 8);
    char escape[16];
    for (std::size_t at = 0; at < text.size();) {
        char32_t point = 0;
        const std::size_t length = decode(text, at, point);
        if (length == 0 || (point < 0x20 && point != '\t' && point != '\n') || point == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[at]));
            html += escape;
            ++at;
            continue;
        }
        switch (point) {
        case '&':
            html += "&amp;";
            break;
        case '<':
            html += "&lt;";
            break;
        case '>':
            html += "&gt;";
            break;
        case '"':
            html += "&quot;";
            break;
        case '\'':
            html += "&#39;";
            break;
        default:
            if (shownAsEscape(point)) {
                std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(point));
                html += escape;
            } else {
                html.append(text, at, length);
            }
        }
        at += length;
    }
    return html;
}

} // namespace corehost
