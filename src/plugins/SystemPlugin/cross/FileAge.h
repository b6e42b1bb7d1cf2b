// The "FileAge" expression: signed whole seconds from a time stamp of a path to now.
#pragma once

#include "PluginSDK/ScalarOperand.h"

namespace SystemPlugin {

class FileAge : public PluginSDK::ScalarOperand {
public:
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
