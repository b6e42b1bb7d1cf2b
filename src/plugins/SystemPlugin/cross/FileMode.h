// The "FileMode" expression: the permission bits of a path as four octal digits.
#pragma once

#include "PluginSDK/ScalarOperand.h"

namespace SystemPlugin {

class FileMode : public PluginSDK::ScalarOperand {
public:
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
