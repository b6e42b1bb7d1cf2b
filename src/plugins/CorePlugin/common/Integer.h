// A signed 64-bit decimal number as a Comparable.
#pragma once

#include "CorePlugin/common/ComparableKind.h"

namespace CorePlugin {

class Integer : public ComparableKind<Integer> {
public:
    explicit Integer(long value) : m_Value(value) {}

    // Reads a signed decimal number (blanks, one sign, digits; the rest of a
    // non-zero number is ignored, a zero must be followed by blanks only). A
    // text without a digit, a number beyond the range of a long and null are
    // -101 and keep the stored value.
    TErrorCode set(const wchar_t* text) override;

    long orderValue() const { return m_Value; }

private:
    long m_Value;
};

} // namespace CorePlugin
