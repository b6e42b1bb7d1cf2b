// The defaults of a vector operator that no expression class of the plug-in
// leaves in place (those of the other kinds are seen on the plug-in's own
// classes, in PluginTest.cpp and the transcripts).
#include "PluginSDK/VectorOperator.h"

#include <gtest/gtest.h>

namespace {

class MinimalVectorOperator : public PluginSDK::VectorOperator {
public:
    using PluginSDK::VectorOperator::update;
    bool isReady() override { return false; }
    void disposeExpression() override {}
    TErrorCode getVectorResult(PluginSDK::StringVector&) override { return 0; }
    TErrorCode update(const PluginSDK::StringVector&) override { return 0; }
};

} // namespace

TEST(KindDefaults, VectorOperatorRefusesScalarsAndFailedChildren) {
    MinimalVectorOperator op;
    EXPECT_TRUE(op.isOperator() && op.getType() == 1 && !op.continueOnError());
    EXPECT_EQ(op.update(PluginSDK::String(L"x")), -102);
    EXPECT_EQ(op.updateWithError(-1), -102);
}
