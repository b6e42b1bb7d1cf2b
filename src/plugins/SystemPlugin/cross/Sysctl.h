// The "Sysctl" expression: the current value of a kernel parameter.
#pragma once

#include "PluginSDK/ScalarOperand.h"

namespace SystemPlugin {

class Sysctl : public PluginSDK::ScalarOperand {
public:
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
