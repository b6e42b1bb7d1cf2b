// Duplicates: each value that occurs more than once in its one vector child,
// once, in the order of first occurrence; with "ignoreCase" "true" values
// that differ only in case are the same, with "numeric" "true" values that
// are the same user or group id ("01000" and "1000"); the first spelling is
// given.
#pragma once

#include "PluginKit/Description.h"
#include "SystemPlugin/ResultCodes.h"

#include "PluginKit/SingleOperator.h"
#include "PluginSDK/VectorOperator.h"

namespace SystemPlugin {

class Duplicates
    : public PluginKit::SingleOperator<PluginSDK::VectorOperator, PluginSDK::StringVector> {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    using PluginSDK::VectorOperator::update;

    // A second child: -10004.
    TErrorCode update(const PluginSDK::StringVector& value) override;
    // -10007 without the child; -12002 for "ignoreCase" or "numeric" other than
    // "true" or "false"; -12025 with "numeric" for a value that is no id.
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
};

} // namespace SystemPlugin
