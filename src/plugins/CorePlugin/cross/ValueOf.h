// A literal: the text of the property "value".
#pragma once

#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

class ValueOf : public PluginSDK::ScalarOperand {
public:
    // Keeps no evaluation state.
    void disposeExpression() override {}
    // The text of "value"; -11022 and an empty result when it is absent.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
};

} // namespace CorePlugin
