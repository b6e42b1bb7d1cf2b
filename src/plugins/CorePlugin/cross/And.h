// And of any number of truth values: "false" from the first "false" on, else "true".
#pragma once

#include "CorePlugin/common/ShortCircuitOperator.h"
#include "PluginKit/Description.h"

namespace CorePlugin {

class And : public ShortCircuitOperator {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    And();
};

} // namespace CorePlugin
