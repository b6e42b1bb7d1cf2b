// The "IniFileKeyExists" expression: whether a key is present in a section of an INI file.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

class IniFileKeyExists : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    // 0 when "file", "section" and "key" are attached; else -11020 ("key"
    // missing), -11027 ("section") or -11014 ("file"), in that precedence.
    TErrorCode validateProperties();
    // "true" or "false" (also for a file that cannot be read), or a code for a missing property.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}
};

} // namespace CorePlugin
