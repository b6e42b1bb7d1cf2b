// PackageVersion: the version of a package's installed instance.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace SystemPlugin {

class PluginContext;

class PackageVersion : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    explicit PackageVersion(PluginContext& context) : m_Context(context) {}

    // The "Version" of the installed instance (of "architecture", when given): -12017 when
    // there is none, -12023 when instances of several architectures differ in version.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}

private:
    PluginContext& m_Context;
};

} // namespace SystemPlugin
