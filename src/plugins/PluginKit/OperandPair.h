// The two operands of a two-operand operator, counted as they are accepted.
#pragma once

#include "PluginKit/CommonCodes.h"

#include <cassert>

namespace PluginKit {

template <typename Value> class OperandPair {
public:
    // True once both operands were accepted.
    bool isComplete() const { return m_OperandsCounter == 2; }
    // Operands accepted so far: 0, 1 or 2.
    unsigned long count() const { return m_OperandsCounter; }

    // Takes the next operand. A third is refused with -10005 and changes nothing.
    TErrorCode accept(const Value& value) {
        if (isComplete())
            return kSurplusOperandBinary;
        ++m_OperandsCounter;
        if (m_OperandsCounter == 1) {
            m_FirstOperand = value;
            return kSuccess;
        }
        assert(m_OperandsCounter == 2 && "m_OperandsCounter == 2");
        m_SecondOperand = value;
        return kSuccess;
    }

    // Back to the constructed state: no operands.
    void reset() { *this = OperandPair(); }

    const Value& first() const { return m_FirstOperand; }
    const Value& second() const { return m_SecondOperand; }

private:
    Value m_FirstOperand{};
    Value m_SecondOperand{};
    unsigned long m_OperandsCounter = 0;
};

} // namespace PluginKit
