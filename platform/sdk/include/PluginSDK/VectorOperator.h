// Inner expressions with a vector result: fed the results of their children.
// By default they take vector children only and are never told of failed ones.
#pragma once

#include "PluginSDK/String.h"
#include "PluginSDK/VectorExpression.h"

namespace PluginSDK {

class VectorOperator : public VectorExpression {
public:
    bool isOperator() override { return true; }

    // True if the operator wants failed children through updateWithError.
    virtual bool continueOnError() const { return false; }
    // Feeds the result of a vector child.
    virtual TErrorCode update(const StringVector& value) = 0;
    // Feeds the result of a scalar child.
    virtual TErrorCode update(const String& /*value*/) { return -102; }
    // Tells the operator that its next child failed with `code`.
    virtual TErrorCode updateWithError(long /*code*/) { return -102; }
};

} // namespace PluginSDK
