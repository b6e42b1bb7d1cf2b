// The "IniFileKeyValue" expression: the value of a key in a section of an INI file.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

class IniFileKeyValue : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    // 0 when "file", "section" and "key" are attached; else -11020 ("key"
    // missing), -11027 ("section") or -11014 ("file"), in that precedence.
    TErrorCode validateProperties();
    // The value, or "" when the file cannot be read or lacks the section or key; "" also with the
    // code of a missing property.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}
};

} // namespace CorePlugin
