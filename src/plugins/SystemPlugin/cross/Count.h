// Count: the number of values of its one vector child, in decimal.
#pragma once

#include "PluginKit/Description.h"
#include "SystemPlugin/common/UnaryScalarOperator.h"

namespace SystemPlugin {

class Count : public UnaryScalarOperator<PluginSDK::StringVector> {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

protected:
    TErrorCode evaluate(const PluginSDK::StringVector& child, PluginSDK::String& result) override;
};

} // namespace SystemPlugin
