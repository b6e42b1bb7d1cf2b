// The "KeyValues" expression: every value assigned to a key of configuration files, in order.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/VectorOperand.h"

namespace SystemPlugin {

class PluginContext;

class KeyValues : public PluginSDK::VectorOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    explicit KeyValues(PluginContext& context) : m_Context(context) {}
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
    void disposeExpression() override {}

private:
    PluginContext& m_Context;
};

} // namespace SystemPlugin
