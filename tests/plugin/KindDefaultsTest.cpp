// The defaults of the vector kinds that no expression class of the plug-in
// leaves in place (the scalar ones are checked on every operator in
// PluginTest.cpp).
#include "PluginSDK/VectorOperand.h"
#include "PluginSDK/VectorOperator.h"

#include <gtest/gtest.h>

namespace {

class MinimalVectorOperand : public PluginSDK::VectorOperand {
public:
    void disposeExpression() override {}
    TErrorCode getVectorResult(PluginSDK::StringVector&) override { return 0; }
};

class MinimalVectorOperator : public PluginSDK::VectorOperator {
public:
    using PluginSDK::VectorOperator::update;
    bool isReady() override { return false; }
    void disposeExpression() override {}
    TErrorCode getVectorResult(PluginSDK::StringVector&) override { return 0; }
    TErrorCode update(const PluginSDK::StringVector&) override { return 0; }
};

} // namespace

TEST(KindDefaults, VectorKinds) {
    MinimalVectorOperand operand;
    EXPECT_TRUE(!operand.isOperator() && operand.isReady() && operand.getType() == 1);
    MinimalVectorOperator op;
    EXPECT_TRUE(op.isOperator() && op.getType() == 1 && !op.continueOnError());
    EXPECT_EQ(op.update(PluginSDK::String(L"x")), -102);
    EXPECT_EQ(op.updateWithError(-1), -102);
}
