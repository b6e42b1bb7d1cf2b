// The "UnitFileState" expression: whether a systemd unit is enabled, from its
// unit files alone, as `systemctl is-enabled` prints it.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace SystemPlugin {

class PluginContext;

class UnitFileState : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    explicit UnitFileState(PluginContext& context) : m_Context(context) {}
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}

private:
    PluginContext& m_Context;
};

} // namespace SystemPlugin
