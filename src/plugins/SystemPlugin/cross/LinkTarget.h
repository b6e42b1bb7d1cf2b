// The "LinkTarget" expression: the target of a symbolic link as stored.
#pragma once

#include "PluginSDK/ScalarOperand.h"

namespace SystemPlugin {

class LinkTarget : public PluginSDK::ScalarOperand {
public:
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
