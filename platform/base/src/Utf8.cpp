// UTF-8 encoder and decoder (RFC 3629), replacing what cannot be converted.
#include "base/Utf8.h"

namespace base {

bool encodeUtf8(const wchar_t* text, std::size_t length, std::string& out, bool replaceInvalid) {
    out.reserve(out.size() + length);
    for (std::size_t i = 0; i < length; ++i) {
        wchar_t c = text[i];
        if (!isScalarValue(c)) {
            if (!replaceInvalid)
                return false;
            c = kReplacementCharacter;
        }
        auto u = static_cast<unsigned int>(c);
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else if (u < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (u >> 6)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        } else if (u < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (u >> 12)));
            out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (u >> 18)));
            out.push_back(static_cast<char>(0x80 | ((u >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        }
    }
    return true;
}

void decodeUtf8(const char* text, std::size_t length, std::wstring& out) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    out.reserve(out.size() + length);
    std::size_t i = 0;
    while (i < length) {
        unsigned int lead = bytes[i];
        if (lead < 0x80) {
            out.push_back(static_cast<wchar_t>(lead));
            ++i;
            continue;
        }
        std::size_t extra;
        unsigned int code;
        unsigned int minimum;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1, code = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2, code = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3, code = lead & 0x07, minimum = 0x10000;
        } else {
            out.push_back(kReplacementCharacter);
            ++i;
            continue;
        }
        // A sequence ends at the first byte that is not a continuation byte;
        // everything consumed up to there is one replacement character.
        std::size_t consumed = 1;
        bool complete = true;
        for (; consumed <= extra; ++consumed) {
            if (i + consumed >= length || (bytes[i + consumed] & 0xC0) != 0x80) {
                complete = false;
                break;
            }
            code = (code << 6) | (bytes[i + consumed] & 0x3F);
        }
        if (!complete || code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            out.push_back(kReplacementCharacter);
        else
            out.push_back(static_cast<wchar_t>(code));
        i += consumed;
    }
}

} // namespace base
