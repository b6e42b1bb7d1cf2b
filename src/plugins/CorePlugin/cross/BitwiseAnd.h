// Bitwise AND of two unsigned decimal numbers.
#pragma once

#include "CorePlugin/common/BitwiseOperator.h"
#include "PluginKit/Description.h"

namespace CorePlugin {

class BitwiseAnd : public BitwiseOperator {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

protected:
    unsigned long combine(unsigned long first, unsigned long second) const override;
};

} // namespace CorePlugin
