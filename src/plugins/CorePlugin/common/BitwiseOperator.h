// The mechanics of the bitwise operators: exactly two unsigned decimal
// operands, combined bit by bit into the decimal text of the result.
#pragma once

#include "PluginKit/PairOperator.h"
#include "PluginSDK/ScalarOperator.h"

namespace CorePlugin {

class BitwiseOperator : public PluginKit::PairOperator<PluginSDK::ScalarOperator, unsigned long> {
public:
    using PluginSDK::ScalarOperator::update;

    // Reads the operand as an unsigned decimal number: -10005 for a third
    // operand, -11019 for a text that holds none (not counted).
    TErrorCode update(const PluginSDK::String& value) override;

    // The combination as unsigned decimal text; -10007 and an empty result
    // before both operands arrived.
    TErrorCode getScalarResult(PluginSDK::String& result) override;

protected:
    virtual unsigned long combine(unsigned long first, unsigned long second) const = 0;
};

} // namespace CorePlugin
