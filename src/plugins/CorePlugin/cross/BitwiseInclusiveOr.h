// Bitwise inclusive OR of two unsigned decimal numbers.
#pragma once

#include "common/BitwiseOperator.h"

namespace CorePlugin {

class BitwiseInclusiveOr : public BitwiseOperator {
protected:
    unsigned long combine(unsigned long first, unsigned long second) const override;
};

} // namespace CorePlugin
