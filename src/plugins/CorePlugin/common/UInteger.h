// An unsigned 64-bit decimal number as a Comparable.
#pragma once

#include "CorePlugin/common/ComparableKind.h"

namespace CorePlugin {

class UInteger : public ComparableKind<UInteger> {
public:
    explicit UInteger(unsigned long value) : m_Value(value) {}

    // Reads an unsigned decimal number (blanks, one sign, digits; a '-' negates
    // modulo 2^64; the rest of a non-zero number is ignored). A zero is taken
    // only when nothing but blanks follows it ("00", "+0", " 0 "; "0x10" and
    // "0abc" are refused). A text without a digit, a number beyond 64 bits and
    // null are -101 and keep the stored value.
    TErrorCode set(const wchar_t* text) override;

    unsigned long orderValue() const { return m_Value; }

private:
    unsigned long m_Value;
};

} // namespace CorePlugin
