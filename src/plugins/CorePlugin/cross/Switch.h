// Case selector: children come in pairs of a condition and a value; the result
// is the value of the first pair whose condition is "true", else "default".
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperator.h"

#include <cstdint>

namespace CorePlugin {

class Switch : public PluginSDK::ScalarOperator {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    using PluginSDK::ScalarOperator::update;

    enum State : std::int32_t {
        ExpectingCondition = 0,
        SkippingValue = 1,
        TakingValue = 2,
        Selected = 3,
    };

    bool isReady() override { return m_State == Selected; }
    void disposeExpression() override;
    // The selected value, or the property "default" (empty when absent); never fails.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    // Failed children are taken: a failed condition counts as "false", except
    // one that ran out of memory (-103), which fails the switch.
    bool continueOnError() const override { return true; }
    TErrorCode update(const PluginSDK::String& value) override;
    TErrorCode updateWithError(long code) override;

private:
    State m_State = ExpectingCondition;
    PluginSDK::String m_SelectedValue;
};

} // namespace CorePlugin
