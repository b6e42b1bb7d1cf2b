// The "UnitActiveState" expression: the ActiveState of a systemd unit, from
// the running service manager.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace SystemPlugin {

class UnitActiveState : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
