// "List": a vector operand whose result is its property "items" split at
// commas. Like some real vector operands it appends to the list it is given.
// With "fail" it returns that code instead.
#pragma once

#include "PluginSDK/VectorOperand.h"

namespace fakeplugin {

class FakeList : public PluginSDK::VectorOperand {
public:
    ~FakeList() override;
    void disposeExpression() override;
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
};

} // namespace fakeplugin
