// Difference: the values of its first vector child that are not among those
// of its second, in order, each once; with "ignoreCase" "true" values that
// differ in case are the same, with "numeric" "true" values that are the same
// user or group id ("01000" and "1000").
#pragma once

#include "PluginKit/Description.h"
#include "PluginKit/PairOperator.h"
#include "PluginSDK/VectorOperator.h"

namespace SystemPlugin {

class Difference
    : public PluginKit::PairOperator<PluginSDK::VectorOperator, PluginSDK::StringVector> {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    using PluginSDK::VectorOperator::update;

    // A third child: -10005.
    TErrorCode update(const PluginSDK::StringVector& value) override;
    // -10007 before both children; -12002 for "ignoreCase" or "numeric" other
    // than "true" or "false"; -12025 with "numeric" for a value of either
    // child that is no id.
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
};

} // namespace SystemPlugin
