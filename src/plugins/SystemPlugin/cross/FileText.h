// The "FileText" expression: the whole text of a regular file, one final line end removed.
#pragma once

#include "PluginSDK/ScalarOperand.h"

namespace SystemPlugin {

class FileText : public PluginSDK::ScalarOperand {
public:
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
