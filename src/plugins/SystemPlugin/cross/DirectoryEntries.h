// The "DirectoryEntries" expression: the names in a directory, sorted by bytes.
#pragma once

#include "PluginSDK/VectorOperand.h"

namespace SystemPlugin {

class DirectoryEntries : public PluginSDK::VectorOperand {
public:
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
