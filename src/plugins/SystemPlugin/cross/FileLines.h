// The "FileLines" expression: the lines of one or more files, filtered by a wildcard or a regular
// expression, comments left out.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/VectorOperand.h"

namespace SystemPlugin {

class FileLines : public PluginSDK::VectorOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
