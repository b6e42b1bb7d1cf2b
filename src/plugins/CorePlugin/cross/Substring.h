// Substring: the lines of a text that contain a fragment.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/VectorOperand.h"

namespace CorePlugin {

class Substring : public PluginSDK::VectorOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    Substring();
    ~Substring() override;

    // -11038 without "inputString" or "searchedString", stopping at the first.
    TErrorCode validateProperties();

    // Appends to `result` every non-empty line of "inputString" (lines end at
    // a line feed) that contains "searchedString", exactly and in order. The
    // list is not emptied first; on failure it is not touched.
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
    void disposeExpression() override;

    // The property's text, or `defaultValue` when it is absent.
    const wchar_t* getOptionalProperty(const wchar_t* name, const wchar_t* defaultValue) const;
};

} // namespace CorePlugin
