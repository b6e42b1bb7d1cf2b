// The reading of literals, mirroring CorePlugin's number, version and truth
// value readers (blanks are the ASCII white-space characters, as in the C
// locale corehost runs in).
#include "eval/LiteralReading.h"

#include "SystemPlugin/common/DebianVersion.h"
#include "SystemPlugin/common/OctalMode.h"
#include "eval/TextConversion.h"

#include <cstdint>
#include <cstring>

namespace corehost {

namespace {

using Outcome = LiteralReading::Outcome;

bool isBlank(char c) {
    return c != '\0' && std::strchr(" \t\n\v\f\r", c) != nullptr;
}

int digitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

LiteralReading refused() {
    return LiteralReading{};
}

// Blanks, an optional sign, (for base 16 an optional 0x), digits up to the
// first other character; a zero only when a blank or the end follows it.
LiteralReading readNumber(const std::string& text, int base, bool isSigned) {
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    LiteralReading reading;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        reading.negative = text[at++] == '-';
    bool zeroRead = false;
    if (base == 16 && text.compare(at, 1, "0") == 0 && at + 1 < text.size() &&
        (text[at + 1] == 'x' || text[at + 1] == 'X')) {
        std::size_t after = at + 2;
        while (after < text.size() && isBlank(text[after]))
            ++after;
        if (after == text.size()) { // "0x" alone is zero
            at = text.size();
            zeroRead = true;
        } else if (at + 2 < text.size() && digitValue(text[at + 2], 16) >= 0) {
            at += 2;
        }
    }
    std::uint64_t magnitude = 0;
    bool anyDigit = zeroRead;
    for (int digit; at < text.size() && (digit = digitValue(text[at], base)) >= 0; ++at) {
        anyDigit = true;
        const auto d = static_cast<std::uint64_t>(digit);
        if (magnitude > (UINT64_MAX - d) / static_cast<std::uint64_t>(base))
            return refused();
        magnitude = magnitude * static_cast<std::uint64_t>(base) + d;
    }
    if (!anyDigit || (magnitude == 0 && at < text.size() && !isBlank(text[at])))
        return refused();
    if (isSigned) {
        const std::uint64_t limit =
            static_cast<std::uint64_t>(INT64_MAX) + (reading.negative ? 1 : 0);
        if (magnitude > limit)
            return refused();
        reading.value = (reading.negative && magnitude != 0 ? "-" : "") + std::to_string(magnitude);
    } else {
        reading.value = std::to_string(reading.negative ? 0 - magnitude : magnitude);
    }
    while (at < text.size() && isBlank(text[at]))
        ++at;
    reading.ignored = text.substr(at);
    reading.outcome = reading.ignored.empty() ? Outcome::Whole : Outcome::Prefix;
    return reading;
}

// Digits and at most three separators; each field (a run of digits between
// runs of separators) within 64 bits.
LiteralReading readVersion(const std::string& text) {
    if (text.find_first_not_of("0123456789.,_") != std::string::npos)
        return refused();
    std::size_t separators = 0;
    std::uint64_t field = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            ++separators;
            field = 0;
            continue;
        }
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (field > (UINT64_MAX - digit) / 10)
            return refused();
        field = field * 10 + digit;
    }
    LiteralReading reading;
    if (separators <= 3)
        reading.outcome = Outcome::Whole;
    return reading;
}

// What PluginSDK::String::toLong reads strictly: blanks, a sign, digits, blanks.
LiteralReading readIndex(const std::string& text) {
    LiteralReading reading;
    if (text.empty()) {
        reading.outcome = Outcome::Whole;
        return reading;
    }
    // A tail is never ignored: the text is refused.
    reading = readNumber(text, 10, true);
    return reading.outcome == Outcome::Whole ? reading : refused();
}

LiteralReading whole(bool read) {
    LiteralReading reading;
    if (read)
        reading.outcome = Outcome::Whole;
    return reading;
}

} // namespace

LiteralKind literalKindOf(const std::string& compareType) {
    const std::pair<const char*, LiteralKind> kinds[] = {{"integer", LiteralKind::Integer},
                                                         {"uinteger", LiteralKind::UInteger},
                                                         {"hex", LiteralKind::Hex},
                                                         {"version", LiteralKind::Version},
                                                         {"boolean", LiteralKind::Boolean},
                                                         {"octal mode", LiteralKind::OctalMode},
                                                         {"Debian version", LiteralKind::DebianVersion}};
    for (const auto& kind : kinds)
        if (compareType == kind.first)
            return kind.second;
    return LiteralKind::Text;
}

LiteralReading readLiteral(LiteralKind kind, const std::string& text) {
    LiteralReading reading;
    switch (kind) {
    case LiteralKind::Integer:
        return readNumber(text, 10, true);
    case LiteralKind::UInteger:
        return readNumber(text, 10, false);
    case LiteralKind::Hex:
        if (text.empty()) {
            reading.outcome = Outcome::Whole;
            reading.value = "0";
            return reading;
        }
        return readNumber(text, 16, false);
    case LiteralKind::Version:
        return readVersion(text);
    case LiteralKind::Boolean:
        if (text == "true" || text == "false")
            reading.outcome = Outcome::Whole;
        return reading;
    case LiteralKind::Index:
        return readIndex(text);
    case LiteralKind::OctalMode: {
        unsigned mode = 0;
        return whole(SystemPlugin::readOctalMode(fromUtf8(text), mode));
    }
    case LiteralKind::DebianVersion: {
        SystemPlugin::DebianVersion version;
        return whole(SystemPlugin::DebianVersion::parse(text, version));
    }
    case LiteralKind::Text:
        break;
    }
    reading.outcome = Outcome::Whole;
    return reading;
}

} // namespace corehost
