// Bitwise inclusive OR of two unsigned decimal numbers.
#include "cross/BitwiseInclusiveOr.h"

namespace CorePlugin {

unsigned long BitwiseInclusiveOr::combine(unsigned long first, unsigned long second) const {
    return first | second;
}

} // namespace CorePlugin
