// Match: whether a text matches a wildcard pattern.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

class Match : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    // The properties of one evaluation.
    struct Properties {
        Properties();
        const wchar_t* inputString; // the text, owned by the host; null when absent
        const wchar_t* filter;      // the pattern, owned by the host; null when absent
        bool ignoreCase;            // "ignoreCase" is exactly "true"
    };

    // Reads "inputString", "filter" and "ignoreCase" in that order; -11038
    // when either of the first two is absent.
    TErrorCode validateProperties(Properties& properties);

    // "true" or "false"; the result is left unchanged on failure.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override;
};

} // namespace CorePlugin
