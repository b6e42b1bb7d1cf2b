// Select: the values of its one vector child that match "filter" (the
// project's wildcard, with "ignoreCase") or "pattern" (RE2), in order; with
// "invert" "true" those that do not match; with "capture" "true" (a pattern
// only) each matching value replaced by the pattern's first capture group.
#pragma once

#include "PluginKit/Description.h"
#include "PluginKit/SingleOperator.h"
#include "PluginSDK/VectorOperator.h"

namespace SystemPlugin {

class Select
    : public PluginKit::SingleOperator<PluginSDK::VectorOperator, PluginSDK::StringVector> {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    using PluginSDK::VectorOperator::update;

    // A second child: -10004.
    TErrorCode update(const PluginSDK::StringVector& value) override;
    // -10007 without the child; -12001 without "filter" and "pattern"; -12002
    // for both, for "ignoreCase", "invert" or "capture" other than "true" or
    // "false", and for "capture" without a pattern or with "invert"; -12021
    // for a pattern RE2 refuses, or one without a group to capture.
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
};

} // namespace SystemPlugin
