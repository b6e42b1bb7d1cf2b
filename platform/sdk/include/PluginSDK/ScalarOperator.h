// Inner expressions with a scalar result: fed the results of their children.
// By default they take scalar children only and are never told of failed ones.
#pragma once

#include "PluginSDK/ScalarExpression.h"
#include "PluginSDK/StringVector.h"

namespace PluginSDK {

class ScalarOperator : public ScalarExpression {
public:
    bool isOperator() override { return true; }

    // True if the operator wants failed children through updateWithError.
    virtual bool continueOnError() const { return false; }
    // Feeds the result of a vector child.
    virtual TErrorCode update(const StringVector& /*value*/) { return -102; }
    // Feeds the result of a scalar child.
    virtual TErrorCode update(const String& value) = 0;
    // Tells the operator that its next child failed with `code`.
    virtual TErrorCode updateWithError(long /*code*/) { return -102; }
};

} // namespace PluginSDK
