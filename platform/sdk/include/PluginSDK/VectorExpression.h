// Expressions whose result is an ordered list of strings.
#pragma once

#include "PluginSDK/Expression.h"
#include "PluginSDK/StringVector.h"

namespace PluginSDK {

class VectorExpression : public Expression {
public:
    ExpressionType getType() override { return VECTOR_EXPRESSION; }

    // Writes the result and returns 0, or returns a failure code.
    virtual TErrorCode getVectorResult(StringVector& result) = 0;
};

} // namespace PluginSDK
