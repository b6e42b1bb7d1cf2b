// VectorIterator: the positions of its children's values, "1" up to "n".
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/VectorOperator.h"

namespace CorePlugin {

class VectorIterator : public PluginSDK::VectorOperator {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    using PluginSDK::VectorOperator::update;

    VectorIterator();
    ~VectorIterator() override;

    // Never ready early: every child is fed.
    bool isReady() override;
    void disposeExpression() override;
    // The decimal texts of 1 up to the number of values seen.
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
    // Numbers each element in order.
    TErrorCode update(const PluginSDK::StringVector& values) override;
    // Numbers one value; the value itself is not looked at.
    TErrorCode update(const PluginSDK::String& value) override;

private:
    long m_Position = 0;
    PluginSDK::StringVector m_Positions;
};

} // namespace CorePlugin
