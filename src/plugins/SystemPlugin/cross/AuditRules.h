// The "AuditRules" expression: the audit rules, each in the one form
// `auditctl -l` prints, from rules.d (as augenrules joins it), given files,
// or the kernel.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/VectorOperand.h"

namespace SystemPlugin {

class AuditRules : public PluginSDK::VectorOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
