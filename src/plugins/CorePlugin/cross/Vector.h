// Vector: gathers its children's results into one list, optionally filtered
// by a wildcard pattern with or without case.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/VectorOperator.h"

#include <string>

namespace CorePlugin {

class Vector : public PluginSDK::VectorOperator {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    using PluginSDK::VectorOperator::update;

    Vector();
    ~Vector() override;

    // Never ready early: every child is fed.
    bool isReady() override;
    void disposeExpression() override;
    // The values gathered so far, in the order they were accepted.
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
    // Offers each element in order to update(const String&).
    TErrorCode update(const PluginSDK::StringVector& values) override;
    // Appends the value as fed when it passes the filter; always 0.
    TErrorCode update(const PluginSDK::String& value) override;
    // Reads "filter" and "ignoreCase" for the current evaluation.
    virtual void initialize();

protected:
    PluginSDK::StringVector m_Values;

private:
    bool m_Initialized = false;
    bool m_IgnoreCase = false;
    std::wstring m_Filter;
};

} // namespace CorePlugin
