// The "KeyValue" expression: the value that wins for a key of configuration files, read as the
// program owning them reads them.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace SystemPlugin {

class PluginContext;

class KeyValue : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    explicit KeyValue(PluginContext& context) : m_Context(context) {}
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}

private:
    PluginContext& m_Context;
};

} // namespace SystemPlugin
