// Leaf expressions with a scalar result: computed from properties alone.
#pragma once

#include "PluginSDK/ScalarExpression.h"

namespace PluginSDK {

class ScalarOperand : public ScalarExpression {
public:
    bool isOperator() override { return false; }
    bool isReady() override { return true; }
};

} // namespace PluginSDK
