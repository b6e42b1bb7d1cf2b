// HTML escaping over the UTF-8 decoder of the text report.
#include "cli/HtmlText.h"

#include "eval/MessageText.h"

#include <cstdio>

namespace corehost {

std::string escapeHtml(const std::string& text) {
    std::string html;
    html.reserve(text.size() + text.size() / 8);
    char escape[16];
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t point = 0;
        const std::size_t length = decodeUtf8At(text, at, point);
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
            // The text report's escapes, and the marks that turn text around
            // or hide in it unseen.
            if (needsUnicodeEscape(point) || point == 0x200E || point == 0x200F ||
                point == 0xFEFF) {
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
