// And of any number of truth values: "false" from the first "false" on, else "true".
#pragma once

#include "common/ShortCircuitOperator.h"

namespace CorePlugin {

class And : public ShortCircuitOperator {
public:
    And();
};

} // namespace CorePlugin
