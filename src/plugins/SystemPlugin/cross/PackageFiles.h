// PackageFiles: the files dpkg installed for one package or for every installed package.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/VectorOperand.h"

namespace SystemPlugin {

class PluginContext;

class PackageFiles : public PluginSDK::VectorOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    explicit PackageFiles(PluginContext& context) : m_Context(context) {}

    // The paths of the file lists of "package" (every installed package without it; of
    // "architecture" when given), diverted and with their directories resolved, sorted by
    // bytes, each once. -12017 when the named package is not installed, -12022 for a list or
    // diversions dpkg could not read, -12012 past the size limits.
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
    void disposeExpression() override {}

private:
    PluginContext& m_Context;
};

} // namespace SystemPlugin
