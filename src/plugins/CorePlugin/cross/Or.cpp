// Or of any number of truth values.
#include "cross/Or.h"

namespace CorePlugin {

Or::Or() : ShortCircuitOperator(true) {}

} // namespace CorePlugin
