// The "RecordField" expression: one field of the records of /etc/passwd, /etc/shadow or /etc/group
// that pass field tests.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/VectorOperand.h"

namespace SystemPlugin {

class RecordField : public PluginSDK::VectorOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
