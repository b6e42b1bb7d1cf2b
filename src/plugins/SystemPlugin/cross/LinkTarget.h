// The "LinkTarget" expression: the target of a symbolic link as stored.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace SystemPlugin {

class LinkTarget : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
