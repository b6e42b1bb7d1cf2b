// Or of any number of truth values: "true" from the first "true" on, else "false".
#pragma once

#include "common/ShortCircuitOperator.h"

namespace CorePlugin {

class Or : public ShortCircuitOperator {
public:
    Or();
};

} // namespace CorePlugin
