// ModeWithin: "true" when the first of its two scalar children, a mode of 1 to
// 4 octal digits, has no permission bit the second lacks ("0600" within
// "0640"; "4755" is not within "0755": set-user-ID counts too).
#pragma once

#include "PluginKit/Description.h"
#include "PluginKit/PairOperator.h"
#include "PluginSDK/ScalarOperator.h"

namespace SystemPlugin {

class ModeWithin : public PluginKit::PairOperator<PluginSDK::ScalarOperator, unsigned> {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    using PluginSDK::ScalarOperator::update;

    // -12018 for a text that is no such mode (not counted), then -10005 for a third child.
    TErrorCode update(const PluginSDK::String& value) override;
    // -10007 and an empty result without both children.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
};

} // namespace SystemPlugin
