// Reading decimal and hexadecimal numbers from text. A number is the digits up
// to the first other character (the rest is ignored, so "1 # on" is 1); a zero
// is taken only when a blank or the end of the text follows its digits
// ("0 # off" is 0), so that texts such as "0x10" or "0abc" are refused rather
// than read as a silent 0.
#pragma once

namespace PluginKit {

enum class NumberRead {
    Ok,
    NoDigits,   // no digit after the optional blanks, sign (and 0x prefix), or
                // zero digits followed directly by something other than a blank
    OutOfRange, // the digits do not fit the type
};

// Leading white space, one optional sign, then digits of `base` (10 or 16; base
// 16 also skips a "0x" or "0X" after the sign, and "0x" alone is zero).
// Reading stops at the first other character, where `end` (when given) is
// left on success. A '-' negates the number modulo 2^64. Null reads no digits.
NumberRead readUnsigned(const wchar_t* text, int base, unsigned long& value,
                        const wchar_t** end = nullptr);

// The same in decimal for a signed long; the sign applies before the range check.
NumberRead readSigned(const wchar_t* text, long& value, const wchar_t** end = nullptr);

} // namespace PluginKit
