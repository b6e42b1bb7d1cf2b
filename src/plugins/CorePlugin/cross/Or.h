// Or of any number of truth values: "true" from the first "true" on, else "false".
#pragma once

#include "CorePlugin/common/ShortCircuitOperator.h"
#include "PluginKit/Description.h"

namespace CorePlugin {

class Or : public ShortCircuitOperator {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    Or();
};

} // namespace CorePlugin
