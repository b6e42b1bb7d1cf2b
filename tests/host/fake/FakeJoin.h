// "Join": a scalar operator joining its scalar children with "separator".
// Vector children get the kind's default answer. Properties shape the
// protocol: "readyAfter" N reports ready once N children were fed; "refuse"
// names a text that update refuses with -10006; "continueOnError" "true" asks
// for failed children, which join as "!<code>", or which fail the operator
// with their own code when "errorResult" is "pass"; "fail" makes the result
// fail with that code.
#pragma once

#include "PluginSDK/ScalarOperator.h"

namespace fakeplugin {

class FakeJoin : public PluginSDK::ScalarOperator {
public:
    using PluginSDK::ScalarOperator::update;

    ~FakeJoin() override;
    bool isReady() override;
    void disposeExpression() override;
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    bool continueOnError() const override;
    TErrorCode update(const PluginSDK::String& value) override;
    TErrorCode updateWithError(long code) override;

private:
    void append(const std::wstring& text);

    std::wstring m_Joined;
    long m_Fed = 0;
};

} // namespace fakeplugin
