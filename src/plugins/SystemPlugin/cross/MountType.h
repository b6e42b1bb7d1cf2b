// MountType: the file-system type of the mount that holds "absolutePath".
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperand.h"

namespace SystemPlugin {

class MountType : public PluginSDK::ScalarOperand {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    // The type ("ext4", "tmpfs", "nfs4"); the codes of MountLookup::find.
    // The result stays cleared on failure.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
