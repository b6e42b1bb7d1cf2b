// The "DirectoryEntries" expression: the names in a directory, sorted by bytes.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/VectorOperand.h"

namespace SystemPlugin {

class DirectoryEntries : public PluginSDK::VectorOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
