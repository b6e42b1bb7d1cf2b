// TextExtract: the first capture group of the first match of "pattern" (RE2)
// in the text of its one scalar child.
#pragma once

#include "PluginKit/Description.h"
#include "SystemPlugin/common/RegexPattern.h"
#include "SystemPlugin/common/UnaryScalarOperator.h"

namespace SystemPlugin {

class TextExtract : public UnaryScalarOperator<PluginSDK::String> {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

protected:
    TErrorCode evaluate(const PluginSDK::String& child, PluginSDK::String& result) override;

private:
    RegexPattern m_Pattern;
};

} // namespace SystemPlugin
