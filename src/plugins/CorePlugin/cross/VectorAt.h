// VectorAt: the value at one position ("index", counted from 1) among the
// values of its children.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/ScalarOperator.h"

namespace CorePlugin {

class VectorAt : public PluginSDK::ScalarOperator {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    using PluginSDK::ScalarOperator::update;

    VectorAt();
    ~VectorAt() override;

    // True once the wanted value has arrived.
    bool isReady() override;
    void disposeExpression() override;
    // The wanted value; without it -11035 (also for "index" 0, which names no
    // position). When no value was fed, "index" is checked here: -11034 when
    // it is missing, -11019 when it is not a decimal number. On failure
    // `result` is left as it was.
    TErrorCode getScalarResult(PluginSDK::String& result) override;
    // Offers the elements in order until the wanted value has arrived.
    TErrorCode update(const PluginSDK::StringVector& values) override;
    // Counts one value and keeps it when it is the wanted one; values after it
    // are ignored. Fails with the code of reading "index".
    TErrorCode update(const PluginSDK::String& value) override;

private:
    // Reads "index" once per evaluation.
    TErrorCode inizialize();
    // "index" converted: -11034 when missing, -11019 when not a number.
    TErrorCode readIndex(unsigned long& index) const;

    bool m_Ready = false;
    bool m_Initialized = false;
    unsigned long m_Index = 0;
    unsigned long m_Counter = 0;
    PluginSDK::String m_Value;
};

} // namespace CorePlugin
