// Bitwise exclusive OR of two unsigned decimal numbers.
#include "cross/BitwiseExclusiveOr.h"

namespace CorePlugin {

unsigned long BitwiseExclusiveOr::combine(unsigned long first, unsigned long second) const {
    return first ^ second;
}

} // namespace CorePlugin
