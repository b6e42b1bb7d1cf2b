// VersionCompare: two child results related under dpkg's version order.
#pragma once

#include "PluginKit/Description.h"
#include "PluginKit/PairOperator.h"
#include "PluginSDK/ScalarOperator.h"

namespace SystemPlugin {

class VersionCompare
    : public PluginKit::PairOperator<PluginSDK::ScalarOperator, PluginSDK::String> {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    using PluginSDK::ScalarOperator::update;

    // Stores the next child's text; a third is refused with -10005.
    TErrorCode update(const PluginSDK::String& value) override;
    // -10007 before both children arrived, -12001 without "relation", -12002 for a relation
    // other than lt, le, eq, ne, ge, gt, -12019 for a text dpkg refuses as a version; else
    // "true" or "false".
    TErrorCode getScalarResult(PluginSDK::String& result) override;
};

} // namespace SystemPlugin
