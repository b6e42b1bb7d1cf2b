// The "PathExists" expression: whether a directory is at "absolutePath".
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

class PathExists : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    // 0 when "absolutePath" is attached, else -11025.
    TErrorCode validateProperties();
    // "true" or "false"; -11009 when the path cannot be examined.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}
};

} // namespace CorePlugin
