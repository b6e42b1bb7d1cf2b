// Bitwise AND of two unsigned decimal numbers.
#include "cross/BitwiseAnd.h"

namespace CorePlugin {

unsigned long BitwiseAnd::combine(unsigned long first, unsigned long second) const {
    return first & second;
}

} // namespace CorePlugin
