// And of any number of truth values.
#include "cross/And.h"

namespace CorePlugin {

And::And() : ShortCircuitOperator(false) {}

} // namespace CorePlugin
