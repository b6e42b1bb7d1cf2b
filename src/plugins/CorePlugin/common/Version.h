// A four-field version number as a Comparable, ordered field by field.
#pragma once

#include "CorePlugin/common/ComparableKind.h"

#include <array>

namespace CorePlugin {

class Version : public ComparableKind<Version> {
public:
    using Fields = std::array<unsigned long, 4>;

    Version(unsigned long field0, unsigned long field1, unsigned long field2, unsigned long field3);

    // Reads a version text: digits and the separators '.', ',' and '_' in any
    // mixture and position, at most three separators, every field an unsigned
    // 64-bit decimal. Empty fields vanish ("1..2" is 1.2.0.0) and missing ones
    // are 0. Returns -11008 for any other text (null included); the fields are
    // then all 0.
    TErrorCode set(const wchar_t* text) override;
    TErrorCode set(unsigned long field0, unsigned long field1, unsigned long field2,
                   unsigned long field3);

    // "a.b.c.d" in unsigned decimal; the caller releases it with brel_free.
    wchar_t* get();

    // Whether `set` accepts the text.
    bool isValid(const wchar_t* text);

    // The number of field `index` of a version text; 0 when the text has fewer
    // fields, or when the field does not fit 64 bits.
    unsigned long getField(const wchar_t* text, unsigned short index);

    const Fields& orderValue() const { return m_Fields; }

private:
    Fields m_Fields;
};

} // namespace CorePlugin
