// The "RecordField" expression: one field of the records of /etc/passwd, /etc/shadow or /etc/group
// that pass field tests.
#pragma once

#include "PluginSDK/VectorOperand.h"

namespace SystemPlugin {

class RecordField : public PluginSDK::VectorOperand {
public:
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
