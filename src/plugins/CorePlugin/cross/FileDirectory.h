// The "FileDirectory" expression: the directory part of a path, by text alone.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

class FileDirectory : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    // 0 when "file" is attached, else -11025.
    TErrorCode validateProperties();
    // Everything before the last '/' of "file", "/" when that is its first
    // character, "" when there is none. The file system is not consulted.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}
};

} // namespace CorePlugin
