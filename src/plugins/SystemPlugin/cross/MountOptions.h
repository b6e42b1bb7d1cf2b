// MountOptions: the options of the mount that holds "absolutePath", as
// findmnt's OPTIONS column shows them, one element each.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/VectorOperand.h"

namespace SystemPlugin {

class MountOptions : public PluginSDK::VectorOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    // "ro" or "rw" first, then the mount's other options, then the file
    // system's; the codes of MountLookup::find. The result stays cleared on
    // failure.
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
