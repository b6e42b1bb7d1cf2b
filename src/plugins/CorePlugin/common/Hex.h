// An unsigned 64-bit hexadecimal number as a Comparable.
#pragma once

#include "CorePlugin/common/ComparableKind.h"

namespace CorePlugin {

class Hex : public ComparableKind<Hex> {
public:
    explicit Hex(unsigned long value) : m_Value(value) {}

    // Reads a hexadecimal number (blanks, one sign, an optional "0x" or "0X",
    // digits of either case; the rest of the text is ignored). The empty text
    // is 0, and so is a zero followed by nothing but blanks ("00", "0x", "-0 ");
    // a zero followed by anything else ("00x", "0g"), a text without a digit,
    // a number beyond 64 bits and null are -101 and keep the stored value.
    // Leaves errno 0.
    TErrorCode set(const wchar_t* text) override;

    // True for the empty text and for texts made only of '0' with an optional
    // lower-case 'x' in second place ("0", "000", "0x", "0x00").
    bool isZero(const wchar_t* text);

    unsigned long orderValue() const { return m_Value; }

private:
    unsigned long m_Value;
};

} // namespace CorePlugin
