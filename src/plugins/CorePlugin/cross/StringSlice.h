// StringSlice: the characters of a text in a half-open range of positions that may count
// from the end and are clamped to the text.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

class StringSlice : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    StringSlice();
    ~StringSlice() override;

    // Checks every property: -11038 without "inputString", -11051 without
    // "startIndex" or "endIndex"; the last missing one wins.
    TErrorCode validateProperties();

    // Characters startIndex up to, not including, endIndex. An empty index
    // means 0 (start) or the length (end); a negative one counts from the end.
    // An index that is not a number gives -11039, the rest of the evaluation
    // still running with that index at its default.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override;
};

} // namespace CorePlugin
