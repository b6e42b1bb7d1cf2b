// Contains: whether a text begins with, ends with or contains a fragment.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

class Contains : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    Contains();
    ~Contains() override;

    // Checks every property: -11038 without "inputString" or
    // "searchedString", -11052 without "position"; the last missing one wins.
    TErrorCode validateProperties();

    // "true" or "false": "position" "start" tests the beginning, "end" the
    // end, any other value the whole text. Cleared on failure.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override;
};

} // namespace CorePlugin
