// A literal: the text of the property "value".
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

class ValueOf : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    // Keeps no evaluation state.
    void disposeExpression() override {}
    // The text of "value"; -11022 and an empty result when it is absent.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
};

} // namespace CorePlugin
