// ScalarToVector: unpacks exactly one value into a list (VectorString).
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/String.h"
#include "PluginSDK/VectorOperator.h"

namespace CorePlugin {

class ScalarToVector : public PluginSDK::VectorOperator {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    using PluginSDK::VectorOperator::update;

    ScalarToVector();
    ~ScalarToVector() override;

    // True once the one value has arrived.
    bool isReady() override;
    void disposeExpression() override;
    // Replaces `result` with the unpacked value (no value: the empty list).
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
    // A list of exactly one element is taken as that value; any other list,
    // or any list after the value, gives -10004 and changes nothing.
    TErrorCode update(const PluginSDK::StringVector& values) override;
    // Keeps the first value; a second gives -10004.
    TErrorCode update(const PluginSDK::String& value) override;

private:
    bool m_Ready = false;
    PluginSDK::String m_Value;
};

} // namespace CorePlugin
