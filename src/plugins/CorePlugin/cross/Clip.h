// Clip: the characters of a text in an inclusive range of positions that must lie
// inside the text.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

class Clip : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    Clip();
    ~Clip() override;

    // Checks every property: -11038 without "inputString", -11051 without
    // "startIndex" or "endIndex"; the last missing one wins.
    TErrorCode validateProperties();

    // Characters startIndex to endIndex, both included; an endIndex of 0 means
    // the end of the text and an empty index reads as 0. An index that is not
    // a number, negative or beyond the text, or a start after a non-zero end,
    // gives -11039 with the result cleared.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override;
};

} // namespace CorePlugin
