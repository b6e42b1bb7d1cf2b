// The "FileAcl" expression: whether a path carries an ACL beyond its mode bits.
#pragma once

#include "PluginSDK/ScalarOperand.h"

namespace SystemPlugin {

class FileAcl : public PluginSDK::ScalarOperand {
public:
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
