// Escaping and shortening of printed texts.
#include "eval/MessageText.h"

#include "eval/TextConversion.h"

#include <cstdint>
#include <cstdio>

namespace corehost {

namespace {

void appendHex(std::string& out, const char* prefix, unsigned value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%s%0*X", prefix, digits, value);
    out += buffer;
}

} // namespace

// The length of the valid UTF-8 sequence at `at` and its code point, or 0
// when the bytes there are not one.
std::size_t decodeUtf8At(const std::string& text, std::size_t at, std::uint32_t& codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(at + i) & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < minimum || codePoint > 0x10FFFF || surrogate)
        return 0;
    return length;
}

bool needsUnicodeEscape(std::uint32_t c) {
    // U+0085 (in the C1 range), U+2028 and U+2029 end lines for readers that
    // split lines the Unicode way.
    return (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029 || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0xFFFE || c == 0xFFFF;
}

std::string escapeText(const std::string& text, char quote) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t c = 0;
        const std::size_t length = decodeUtf8At(text, at, c);
        if (length == 0) {
            appendHex(out, "\\x", static_cast<unsigned char>(text[at]), 2);
            ++at;
            continue;
        }
        if (c == '\\' || (quote != 0 && c == static_cast<unsigned char>(quote))) {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            appendHex(out, "\\x", c, 2);
        } else if (needsUnicodeEscape(c)) {
            appendHex(out, "\\u", c, 4);
        } else {
            out.append(text, at, length);
        }
        at += length;
    }
    return out;
}

std::string quoteText(const std::string& text) {
    return '"' + escapeText(text, '"') + '"';
}

std::string quoteList(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i == 0 ? "" : ", ") + quoteText(items[i]);
    return out + "]";
}

std::string escapeXml(const std::string& text, bool attribute) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += attribute ? "&quot;" : "\"";
            break;
        default:
            out += c;
        }
    }
    return out;
}

namespace {

// The byte offset after the first `count` characters from `at` (a byte that is
// not part of valid UTF-8 counts as one character).
std::size_t skipCharacters(const std::string& text, std::size_t at, std::size_t count) {
    std::uint32_t ignored = 0;
    for (; count > 0 && at < text.size(); --count) {
        const std::size_t length = decodeUtf8At(text, at, ignored);
        at += length == 0 ? 1 : length;
    }
    return at;
}

std::size_t countCharacters(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++count)
        at = skipCharacters(text, at, 1);
    return count;
}

} // namespace

std::string printable(const std::string& text) {
    const std::size_t end = skipCharacters(text, 0, kQuotedCharacters);
    if (end == text.size())
        return escapeText(text, '"');
    return escapeText(text.substr(0, end), '"') + "...";
}

std::string printableTail(const std::string& text) {
    const std::size_t total = countCharacters(text);
    if (total <= kQuotedCharacters)
        return escapeText(text, '"');
    const std::size_t start = skipCharacters(text, 0, total - kQuotedCharacters);
    return "..." + escapeText(text.substr(start), '"');
}

std::string quote(const std::string& text) {
    return "\"" + printable(text) + "\"";
}

std::string quote(const std::wstring& text) {
    return quote(toUtf8(text));
}

} // namespace corehost
