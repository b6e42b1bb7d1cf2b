// Expressions whose result is one string.
#pragma once

#include "PluginSDK/Expression.h"
#include "PluginSDK/String.h"

namespace PluginSDK {

class ScalarExpression : public Expression {
public:
    ExpressionType getType() override { return SCALAR_EXPRESSION; }

    // Writes the result and returns 0, or returns a failure code.
    virtual TErrorCode getScalarResult(String& result) = 0;
};

} // namespace PluginSDK
