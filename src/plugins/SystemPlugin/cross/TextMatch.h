// TextMatch: whether the text of its one scalar child matches "filter" (the
// wildcard, whole text, with "ignoreCase") or "pattern" (RE2, found anywhere
// unless anchored): exactly one of the two.
#pragma once

#include "PluginKit/Description.h"
#include "SystemPlugin/common/TextSelector.h"
#include "SystemPlugin/common/UnaryScalarOperator.h"

namespace SystemPlugin {

class TextMatch : public UnaryScalarOperator<PluginSDK::String> {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

protected:
    TErrorCode evaluate(const PluginSDK::String& child, PluginSDK::String& result) override;

private:
    TextSelector m_Selector;
};

} // namespace SystemPlugin
