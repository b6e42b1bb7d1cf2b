// "Value": a scalar operand whose result is its property "value". With "fail"
// it returns that code instead; with "trace" it writes that message as an
// error record on the plug-in's tracer.
#pragma once

#include "PluginSDK/ScalarOperand.h"

namespace fakeplugin {

class FakeValue : public PluginSDK::ScalarOperand {
public:
    ~FakeValue() override;
    void disposeExpression() override;
    TErrorCode getScalarResult(PluginSDK::String& result) override;
};

} // namespace fakeplugin
