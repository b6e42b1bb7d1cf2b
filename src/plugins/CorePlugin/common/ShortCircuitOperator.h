// The mechanics of And and Or: any number of truth values, the result decided
// by the first operand that equals the deciding value.
#pragma once

#include "PluginSDK/ScalarOperator.h"

namespace CorePlugin {

class ShortCircuitOperator : public PluginSDK::ScalarOperator {
public:
    using PluginSDK::ScalarOperator::update;

    // And decides on false, Or on true; until then the result is the opposite.
    explicit ShortCircuitOperator(bool decidingValue);

    bool isReady() override { return m_Ready; }
    void disposeExpression() override;
    // "true" or "false"; never fails.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    // -10006 for a text that is not a truth value, also once decided; a truth
    // value after the deciding one changes nothing.
    TErrorCode update(const PluginSDK::String& value) override;

private:
    const bool m_DecidingValue;
    bool m_Ready;
    bool m_Result;
};

} // namespace CorePlugin
