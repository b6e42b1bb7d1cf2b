// VersionCompare: two child results related under dpkg's version order.
#pragma once

#include "PluginKit/OperandPair.h"
#include "PluginSDK/ScalarOperator.h"

namespace SystemPlugin {

class VersionCompare : public PluginSDK::ScalarOperator {
public:
    using PluginSDK::ScalarOperator::update;

    bool isReady() override { return m_Operands.isComplete(); }
    void disposeExpression() override { m_Operands.reset(); }
    // Stores the next child's text; a third is refused with -10005.
    TErrorCode update(const PluginSDK::String& value) override;
    // -10007 before both children arrived, -12001 without "relation", -12002 for a relation
    // other than lt, le, eq, ne, ge, gt, -12019 for a text dpkg refuses as a version; else
    // "true" or "false".
    TErrorCode getScalarResult(PluginSDK::String& result) override;

private:
    PluginKit::OperandPair<PluginSDK::String> m_Operands;
};

} // namespace SystemPlugin
