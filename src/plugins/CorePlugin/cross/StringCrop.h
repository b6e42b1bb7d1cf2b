// StringCrop: the part of a text between a start and an end delimiter.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

class StringCrop : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    StringCrop();
    ~StringCrop() override;

    // Checks every property: -11038 without "inputString", -11051 without
    // "startString" or "endString" (the last missing one wins), then -11039
    // for a "seekFrom" other than "left", "right" or "".
    TErrorCode validateProperties();

    // The crop, or the cleared result when there is nothing between the
    // delimiters; cleared on failure.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override;
};

} // namespace CorePlugin
