// The "UnitActiveState" expression: the ActiveState of a systemd unit, from
// the running service manager.
#pragma once

#include "PluginSDK/ScalarOperand.h"

namespace SystemPlugin {

class UnitActiveState : public PluginSDK::ScalarOperand {
public:
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    void disposeExpression() override {}
};

} // namespace SystemPlugin
