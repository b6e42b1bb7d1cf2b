// Reading decimal and hexadecimal numbers from text. A text holds a number
// when at least one digit was read, whatever its value.
#pragma once

namespace CorePlugin {

enum class NumberRead {
    Ok,
    NoDigits,   // no digit after the optional blanks, sign (and 0x prefix)
    OutOfRange, // the digits do not fit the type
};

// Leading white space, one optional sign, then digits of `base` (10 or 16; base
// 16 also skips a "0x" or "0X" after the sign). Reading stops at the first
// other character. A '-' negates the number modulo 2^64. Null reads no digits.
NumberRead readUnsigned(const wchar_t* text, int base, unsigned long& value);

// The same in decimal for a signed long; the sign applies before the range check.
NumberRead readSigned(const wchar_t* text, long& value);

} // namespace CorePlugin
