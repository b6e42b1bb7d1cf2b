// VectorContains: whether some value of its one vector child equals "value"
// (required), exactly or, with "ignoreCase" "true", without case.
#pragma once

#include "SystemPlugin/common/UnaryScalarOperator.h"

namespace SystemPlugin {

class VectorContains : public UnaryScalarOperator<PluginSDK::StringVector> {
protected:
    TErrorCode evaluate(const PluginSDK::StringVector& child, PluginSDK::String& result) override;
};

} // namespace SystemPlugin
