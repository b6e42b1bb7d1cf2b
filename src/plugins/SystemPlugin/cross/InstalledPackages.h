// InstalledPackages: the names of the installed packages, optionally filtered by a wildcard.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/VectorOperand.h"

namespace SystemPlugin {

class PluginContext;

class InstalledPackages : public PluginSDK::VectorOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    explicit InstalledPackages(PluginContext& context) : m_Context(context) {}

    // The names with an installed instance (as PackageInstalled counts them) that match
    // "filter" (with "ignoreCase"), sorted by bytes, each once. -12002 for an "ignoreCase"
    // other than "true" or "false".
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
    void disposeExpression() override {}

private:
    PluginContext& m_Context;
};

} // namespace SystemPlugin
