// "Collect": a vector operator gathering the elements of its vector children.
// Scalar children and failed children get the kind's default answers.
#pragma once

#include "PluginSDK/VectorOperator.h"

namespace fakeplugin {

class FakeCollect : public PluginSDK::VectorOperator {
public:
    using PluginSDK::VectorOperator::update;

    ~FakeCollect() override;
    bool isReady() override { return false; }
    void disposeExpression() override;
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
    TErrorCode update(const PluginSDK::StringVector& values) override;

private:
    PluginSDK::StringVector m_Values;
};

} // namespace fakeplugin
