// A truth value as a Comparable: false before true.
#pragma once

#include "CorePlugin/common/ComparableKind.h"

namespace CorePlugin {

class Boolean : public ComparableKind<Boolean> {
public:
    explicit Boolean(bool value) : m_Value(value) {}

    // Accepts exactly "true" or "false"; anything else (null included) is -101
    // and keeps the stored value.
    TErrorCode set(const wchar_t* text) override;

    bool orderValue() const { return m_Value; }

private:
    bool m_Value;
};

} // namespace CorePlugin
