// Escaping and shortening texts for messages.
#include "eval/MessageText.h"

#include "eval/TextConversion.h"

#include <cstdio>

namespace corehost {

namespace {

// The length of the UTF-8 character at `at`, or 0 when the byte there does
// not begin a well-formed one.
std::size_t characterLength(const std::string& text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length == 0 || at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80)
            return 0;
    return length;
}

// Appends the character at `at` in its printable form; returns its length.
std::size_t appendCharacter(const std::string& text, std::size_t at, std::string& out) {
    const std::size_t length = characterLength(text, at);
    const auto byte = static_cast<unsigned char>(text[at]);
    char escape[8];
    if (length == 0) {
        std::snprintf(escape, sizeof escape, "\\x%02X", byte);
        out += escape;
        return 1;
    }
    if (length > 1) {
        out.append(text, at, length);
        return length;
    }
    switch (byte) {
    case '"':
        out += "\\\"";
        break;
    case '\\':
        out += "\\\\";
        break;
    case '\n':
        out += "\\n";
        break;
    case '\r':
        out += "\\r";
        break;
    case '\t':
        out += "\\t";
        break;
    default:
        if (byte < 0x20 || byte == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\u%04X", byte);
            out += escape;
        } else {
            out += static_cast<char>(byte);
        }
    }
    return 1;
}

std::size_t countCharacters(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++count) {
        const std::size_t length = characterLength(text, at);
        at += length == 0 ? 1 : length;
    }
    return count;
}

// The printable form of the characters from number `first` on, at most `count` of them.
std::string render(const std::string& text, std::size_t first, std::size_t count) {
    std::string out;
    std::size_t at = 0;
    for (std::size_t skipped = 0; skipped < first; ++skipped) {
        const std::size_t length = characterLength(text, at);
        at += length == 0 ? 1 : length;
    }
    for (std::size_t done = 0; done < count && at < text.size(); ++done)
        at += appendCharacter(text, at, out);
    return out;
}

} // namespace

std::string printable(const std::string& text) {
    const std::size_t total = countCharacters(text);
    if (total <= kQuotedCharacters)
        return render(text, 0, total);
    return render(text, 0, kQuotedCharacters) + "...";
}

std::string printableTail(const std::string& text) {
    const std::size_t total = countCharacters(text);
    if (total <= kQuotedCharacters)
        return render(text, 0, total);
    return "..." + render(text, total - kQuotedCharacters, kQuotedCharacters);
}

std::string quote(const std::string& text) {
    return "\"" + printable(text) + "\"";
}

std::string quote(const std::wstring& text) {
    return quote(toUtf8(text));
}

} // namespace corehost
