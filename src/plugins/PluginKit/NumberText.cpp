// Reading decimal and hexadecimal numbers from text.
#include "PluginKit/NumberText.h"

#include <climits>
#include <cwctype>

namespace PluginKit {

namespace {

int digitValue(wchar_t c, int base) {
    int value;
    if (c >= L'0' && c <= L'9')
        value = c - L'0';
    else if (c >= L'a' && c <= L'f')
        value = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F')
        value = c - L'A' + 10;
    else
        return -1;
    return value < base ? value : -1;
}

// Skips blanks and the sign; returns the first digit position.
const wchar_t* skipPrefix(const wchar_t* p, bool& negative) {
    while (std::iswspace(static_cast<wint_t>(*p)))
        ++p;
    negative = false;
    if (*p == L'+' || *p == L'-')
        negative = *p++ == L'-';
    return p;
}

bool onlyBlanks(const wchar_t* p) {
    while (std::iswspace(static_cast<wint_t>(*p)))
        ++p;
    return *p == L'\0';
}

// Reads the magnitude. A magnitude of zero counts only when a blank or the end
// of the text follows its digits ("0 # off" is zero, "0x10" and "0abc" are no
// number); `zeroRead` says that zero digits were already read before `p`.
NumberRead readMagnitude(const wchar_t*& p, int base, unsigned long& magnitude,
                         bool zeroRead = false) {
    magnitude = 0;
    bool anyDigit = zeroRead;
    for (int digit; (digit = digitValue(*p, base)) >= 0; ++p) {
        anyDigit = true;
        if (magnitude >
            (ULONG_MAX - static_cast<unsigned long>(digit)) / static_cast<unsigned long>(base))
            return NumberRead::OutOfRange;
        magnitude =
            magnitude * static_cast<unsigned long>(base) + static_cast<unsigned long>(digit);
    }
    if (!anyDigit || (magnitude == 0 && *p != L'\0' && !std::iswspace(static_cast<wint_t>(*p))))
        return NumberRead::NoDigits;
    return NumberRead::Ok;
}

} // namespace

NumberRead readUnsigned(const wchar_t* text, int base, unsigned long& value, const wchar_t** end) {
    if (!text)
        return NumberRead::NoDigits;
    bool negative;
    const wchar_t* p = skipPrefix(text, negative);
    // "0x" is a prefix when a hexadecimal digit follows, and the number zero
    // when only blanks follow; otherwise its "0" is read as a zero followed by
    // other characters, which is no number.
    const bool hexPrefix = base == 16 && p[0] == L'0' && (p[1] == L'x' || p[1] == L'X');
    const bool prefixOnly = hexPrefix && onlyBlanks(p + 2);
    if (hexPrefix && (prefixOnly || digitValue(p[2], 16) >= 0))
        p += 2;
    unsigned long magnitude;
    NumberRead read = readMagnitude(p, base, magnitude, prefixOnly);
    if (read != NumberRead::Ok)
        return read;
    value = negative ? 0UL - magnitude : magnitude;
    if (end)
        *end = p;
    return NumberRead::Ok;
}

NumberRead readSigned(const wchar_t* text, long& value, const wchar_t** end) {
    if (!text)
        return NumberRead::NoDigits;
    bool negative;
    const wchar_t* p = skipPrefix(text, negative);
    unsigned long magnitude;
    NumberRead read = readMagnitude(p, 10, magnitude);
    if (read != NumberRead::Ok)
        return read;
    constexpr unsigned long kMaxPositive = static_cast<unsigned long>(LONG_MAX);
    if (magnitude > kMaxPositive + (negative ? 1 : 0))
        return NumberRead::OutOfRange;
    if (negative)
        value = magnitude == kMaxPositive + 1 ? LONG_MIN : -static_cast<long>(magnitude);
    else
        value = static_cast<long>(magnitude);
    if (end)
        *end = p;
    return NumberRead::Ok;
}

} // namespace PluginKit
