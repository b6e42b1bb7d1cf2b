// The mechanics of the bitwise operators: exactly two unsigned decimal
// operands, combined bit by bit into the decimal text of the result.
#pragma once

#include "PluginSDK/ScalarOperator.h"
#include "common/OperandPair.h"

namespace CorePlugin {

class BitwiseOperator : public PluginSDK::ScalarOperator {
public:
    using PluginSDK::ScalarOperator::update;

    bool isReady() override { return m_Operands.isComplete(); }
    void disposeExpression() override { m_Operands.reset(); }

    // Reads the operand as an unsigned decimal number: -10005 for a third
    // operand, -11019 for a text that holds none (not counted).
    TErrorCode update(const PluginSDK::String& value) override;

    // The combination as unsigned decimal text; -10007 and an empty result
    // before both operands arrived.
    TErrorCode getScalarResult(PluginSDK::String& result) override;

protected:
    virtual unsigned long combine(unsigned long first, unsigned long second) const = 0;

private:
    OperandPair<unsigned long> m_Operands;
};

} // namespace CorePlugin
