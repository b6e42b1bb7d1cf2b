// The "FileLines" expression: the lines of one or more files, filtered by a wildcard or a regular
// expression, comments left out.
#pragma once

#include "PluginSDK/VectorOperand.h"

namespace SystemPlugin {

class FileLines : public PluginSDK::VectorOperand {
public:
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
