// Compares two child results as values of the kind named by "type", with the
// relation named by "relation", and yields "true" or "false".
#pragma once

#include "CorePlugin/common/Comparable.h"
#include "PluginKit/Description.h"
#include "PluginKit/PairOperator.h"
#include "PluginSDK/ScalarOperator.h"

namespace CorePlugin {

class Compare : public PluginKit::PairOperator<PluginSDK::ScalarOperator, PluginSDK::String> {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    using PluginSDK::ScalarOperator::update;

    void disposeExpression() override;
    // Parses both operands (the first before the second), then applies the
    // relation. The result is empty on every failure.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    // Stores the next operand text; a third is refused with -10005.
    TErrorCode update(const PluginSDK::String& value) override;

    // -11026 without "type", then -11023 without "relation", else 0.
    TErrorCode validateProperties();
    // A new value of the kind named by `type`, owned by the caller; null for
    // an unknown name.
    Comparable* getComparableOperand(const wchar_t* type);

private:
    bool m_Result = false;
};

} // namespace CorePlugin
