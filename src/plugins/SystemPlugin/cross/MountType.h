// MountType: the file-system type of the mount that holds "absolutePath".
#pragma once

#include "PluginSDK/ScalarOperand.h"

namespace SystemPlugin {

class MountType : public PluginSDK::ScalarOperand {
public:
    // The type ("ext4", "tmpfs", "nfs4"); the codes of MountLookup::find.
    // The result stays cleared on failure.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
