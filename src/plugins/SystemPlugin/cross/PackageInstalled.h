// PackageInstalled: "true" when some instance of the package has its files on disk.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace SystemPlugin {

class PluginContext;

class PackageInstalled : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    explicit PackageInstalled(PluginContext& context) : m_Context(context) {}

    // "true" when an instance (of "architecture", when given) is in any state but
    // "not-installed" and "config-files", whatever its selection; else "false".
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}

private:
    PluginContext& m_Context;
};

} // namespace SystemPlugin
