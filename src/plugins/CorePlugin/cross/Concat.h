// Joins the results of all children, in order, with an optional separator.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperator.h"

namespace CorePlugin {

class Concat : public PluginSDK::ScalarOperator {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    using PluginSDK::ScalarOperator::update;

    // Takes every child: never ready early.
    bool isReady() override { return false; }
    void disposeExpression() override;
    // The joined text (empty with no child); never fails.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    // Appends the separator and the child's result; an empty result after the
    // first is left out unless "ifEmpty" is "add".
    TErrorCode update(const PluginSDK::String& value) override;

    // Reads "separator" and "ifEmpty" once per evaluation.
    void init();

private:
    PluginSDK::String m_Joined;
    unsigned long m_OperandCount = 0;
    // A copy of the property: the host may set it again during the evaluation.
    PluginSDK::String m_Separator;
    bool m_SkipEmpty = true;
    bool m_Initialised = false;
};

} // namespace CorePlugin
