// VectorToScalar: packs its children's values into one text (VectorString).
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/VectorString.h"

namespace CorePlugin {

class VectorToScalar : public PluginSDK::ScalarOperator {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    using PluginSDK::ScalarOperator::update;

    VectorToScalar();
    ~VectorToScalar() override;

    // Never ready early: every child is fed.
    bool isReady() override;
    void disposeExpression() override;
    // The packed text of every value fed so far.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    // Packs each element in order.
    TErrorCode update(const PluginSDK::StringVector& values) override;
    // Packs one value.
    TErrorCode update(const PluginSDK::String& value) override;

private:
    PluginSDK::VectorString m_Packed;
};

} // namespace CorePlugin
