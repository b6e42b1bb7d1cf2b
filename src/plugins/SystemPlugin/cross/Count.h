// Count: the number of values of its one vector child, in decimal.
#pragma once

#include "SystemPlugin/common/UnaryScalarOperator.h"

namespace SystemPlugin {

class Count : public UnaryScalarOperator<PluginSDK::StringVector> {
protected:
    TErrorCode evaluate(const PluginSDK::StringVector& child, PluginSDK::String& result) override;
};

} // namespace SystemPlugin
