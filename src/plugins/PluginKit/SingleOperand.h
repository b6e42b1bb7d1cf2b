// The one operand of a one-operand operator.
#pragma once

#include "PluginKit/CommonCodes.h"

namespace PluginKit {

template <typename Value> class SingleOperand {
public:
    // True once the operand was accepted.
    bool isComplete() const { return m_Accepted; }

    // Takes the operand. A second is refused with -10004 and changes nothing.
    TErrorCode accept(const Value& value) {
        if (m_Accepted)
            return kSurplusOperandUnary;
        m_Value = value;
        m_Accepted = true;
        return kSuccess;
    }

    // Back to the constructed state: no operand.
    void reset() { *this = SingleOperand(); }

    const Value& value() const { return m_Value; }

private:
    Value m_Value{};
    bool m_Accepted = false;
};

} // namespace PluginKit
