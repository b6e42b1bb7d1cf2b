// Leaf expressions with a vector result: computed from properties alone.
#pragma once

#include "PluginSDK/VectorExpression.h"

namespace PluginSDK {

class VectorOperand : public VectorExpression {
public:
    bool isOperator() override { return false; }
    bool isReady() override { return true; }
};

} // namespace PluginSDK
