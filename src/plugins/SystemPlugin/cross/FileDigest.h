// The "FileDigest" expression: the lowercase hex SHA-256, SHA-512 or MD5 digest of a file's
// content.
#pragma once

#include "PluginSDK/ScalarOperand.h"

namespace SystemPlugin {

class FileDigest : public PluginSDK::ScalarOperand {
public:
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
