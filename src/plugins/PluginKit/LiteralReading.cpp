// The reading of literals, through the readers evaluation uses.
#include "PluginKit/LiteralReading.h"

#include "PluginKit/DebianVersion.h"
#include "PluginKit/NumberText.h"
#include "PluginKit/OctalMode.h"
#include "PluginKit/TruthValues.h"
#include "PluginSDK/String.h"
#include "base/Utf8.h"

#include <climits>
#include <cwchar>
#include <cwctype>
#include <utility>

namespace PluginKit {

namespace {

using Outcome = LiteralReading::Outcome;

LiteralReading outcome(bool whole) {
    LiteralReading reading;
    if (whole)
        reading.outcome = Outcome::Whole;
    return reading;
}

// A number read by the plug-ins' number reader, with what follows it.
template <typename Number>
LiteralReading readNumber(bool negative, Number value, NumberRead read, const wchar_t* end) {
    LiteralReading reading;
    if (read != NumberRead::Ok)
        return reading;
    reading.negative = negative;
    reading.value = std::to_string(value);
    while (std::iswspace(static_cast<wint_t>(*end)))
        ++end;
    reading.ignored = end;
    reading.outcome = reading.ignored.empty() ? Outcome::Whole : Outcome::Prefix;
    return reading;
}

bool signIsMinus(const wchar_t* text) {
    while (std::iswspace(static_cast<wint_t>(*text)))
        ++text;
    return *text == L'-';
}

} // namespace

LiteralKind literalKindNamed(const wchar_t* name) {
    static constexpr std::pair<const wchar_t*, LiteralKind> kNames[] = {
        {L"integer", LiteralKind::Integer},
        {L"uinteger", LiteralKind::UInteger},
        {L"hex", LiteralKind::Hex},
        {L"version", LiteralKind::Version},
        {L"boolean", LiteralKind::Boolean},
        {L"index", LiteralKind::Index},
        {L"octal mode", LiteralKind::OctalMode},
        {L"Debian version", LiteralKind::DebianVersion}};
    for (const auto& entry : kNames)
        if (name && std::wcscmp(name, entry.first) == 0)
            return entry.second;
    return LiteralKind::Text;
}

bool isVersionText(const wchar_t* text) {
    if (!text)
        return false;
    constexpr int kMaxSeparators = 3;
    int separators = 0;
    unsigned long field = 0;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p >= L'0' && *p <= L'9') {
            const auto digit = static_cast<unsigned long>(*p - L'0');
            if (field > (ULONG_MAX - digit) / 10)
                return false;
            field = field * 10 + digit;
            continue;
        }
        if (!std::wcschr(L".,_", *p) || ++separators > kMaxSeparators)
            return false;
        field = 0;
    }
    return true;
}

LiteralReading readLiteral(LiteralKind kind, const wchar_t* text) {
    if (!text)
        text = L"";
    const wchar_t* end = nullptr;
    switch (kind) {
    case LiteralKind::Integer: {
        long value = 0;
        const NumberRead read = readSigned(text, value, &end);
        return readNumber(value < 0, value, read, end);
    }
    case LiteralKind::UInteger: {
        unsigned long value = 0;
        const NumberRead read = readUnsigned(text, 10, value, &end);
        return readNumber(signIsMinus(text), value, read, end);
    }
    case LiteralKind::Hex: {
        if (*text == L'\0') { // the empty text is 0
            LiteralReading reading = outcome(true);
            reading.value = "0";
            return reading;
        }
        unsigned long value = 0;
        const NumberRead read = readUnsigned(text, 16, value, &end);
        return readNumber(signIsMinus(text), value, read, end);
    }
    case LiteralKind::Version:
        return outcome(isVersionText(text));
    case LiteralKind::Boolean:
        return outcome(isTruthValue(text));
    case LiteralKind::Index: {
        // What a strict PluginSDK::String::toLong reads: a tail is never
        // ignored, the text is refused.
        const PluginSDK::String string(text);
        if (string.length() == 0)
            return outcome(true);
        long value = 0;
        if (!string.toLong(value, true))
            return outcome(false);
        LiteralReading reading = outcome(true);
        reading.value = std::to_string(value);
        reading.negative = value < 0;
        return reading;
    }
    case LiteralKind::OctalMode: {
        unsigned mode = 0;
        return outcome(readOctalMode(text, mode));
    }
    case LiteralKind::DebianVersion: {
        std::string bytes;
        base::encodeUtf8(text, std::wcslen(text), bytes, true); // as VersionCompare
        DebianVersion version;
        return outcome(DebianVersion::parse(bytes, version));
    }
    case LiteralKind::Text:
        break;
    }
    return outcome(true);
}

} // namespace PluginKit
