// Not of exactly one truth value.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperator.h"

namespace CorePlugin {

class Not : public PluginSDK::ScalarOperator {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    using PluginSDK::ScalarOperator::update;

    bool isReady() override { return m_Ready; }
    void disposeExpression() override;
    // The negated operand; -10007 and an empty result without it.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    // -10006 for a text that is not a truth value, then -10004 for a second operand.
    TErrorCode update(const PluginSDK::String& value) override;

private:
    bool m_Ready = false;
    bool m_Result = false;
    unsigned long m_OperandsCounter = 0;
};

} // namespace CorePlugin
