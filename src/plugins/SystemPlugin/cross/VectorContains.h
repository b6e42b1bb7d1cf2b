// VectorContains: whether some value of its one vector child equals "value"
// (required), exactly or, with "ignoreCase" "true", without case.
#pragma once

#include "PluginKit/Description.h"
#include "SystemPlugin/common/UnaryScalarOperator.h"

namespace SystemPlugin {

class VectorContains : public UnaryScalarOperator<PluginSDK::StringVector> {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

protected:
    TErrorCode evaluate(const PluginSDK::StringVector& child, PluginSDK::String& result) override;
};

} // namespace SystemPlugin
