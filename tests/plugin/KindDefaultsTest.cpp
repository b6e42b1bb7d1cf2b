// The defaults of the six expression kinds.
#include "PluginSDK/ScalarOperand.h"
#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/VectorOperand.h"
#include "PluginSDK/VectorOperator.h"

#include <gtest/gtest.h>

namespace {

class MinimalScalarOperand : public PluginSDK::ScalarOperand {
public:
    void disposeExpression() override {}
    TErrorCode getScalarResult(PluginSDK::String&) override { return 0; }
};

class MinimalScalarOperator : public PluginSDK::ScalarOperator {
public:
    using PluginSDK::ScalarOperator::update;
    bool isReady() override { return false; }
    void disposeExpression() override {}
    TErrorCode getScalarResult(PluginSDK::String&) override { return 0; }
    TErrorCode update(const PluginSDK::String&) override { return 0; }
};

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

TEST(KindDefaults, OperandsAreReadyLeaves) {
    MinimalScalarOperand scalar;
    MinimalVectorOperand vector;
    EXPECT_FALSE(scalar.isOperator());
    EXPECT_TRUE(scalar.isReady());
    EXPECT_EQ(scalar.getType(), 0);
    EXPECT_FALSE(vector.isOperator());
    EXPECT_TRUE(vector.isReady());
    EXPECT_EQ(vector.getType(), 1);
}

TEST(KindDefaults, ScalarOperatorRefusesVectorsAndFailedChildren) {
    MinimalScalarOperator op;
    PluginSDK::Expression& expression = op;
    EXPECT_TRUE(expression.isOperator());
    EXPECT_EQ(expression.getType(), 0);
    EXPECT_FALSE(op.continueOnError());
    EXPECT_EQ(op.update(PluginSDK::StringVector()), -102);
    EXPECT_EQ(op.updateWithError(-11025), -102);
    EXPECT_EQ(op.update(PluginSDK::String(L"x")), 0);
}

TEST(KindDefaults, VectorOperatorRefusesScalarsAndFailedChildren) {
    MinimalVectorOperator op;
    EXPECT_TRUE(op.isOperator());
    EXPECT_EQ(op.getType(), 1);
    EXPECT_FALSE(op.continueOnError());
    EXPECT_EQ(op.update(PluginSDK::String(L"x")), -102);
    EXPECT_EQ(op.updateWithError(-1), -102);
    EXPECT_EQ(op.update(PluginSDK::StringVector()), 0);
}
