// An operator of exactly two children of kind `Value`, on the SDK's operator
// class `Operator`: ready once both arrived, and back to none when disposed.
#pragma once

#include "PluginKit/OperandPair.h"

namespace PluginKit {

template <typename Operator, typename Value> class PairOperator : public Operator {
public:
    bool isReady() override { return m_Operands.isComplete(); }
    void disposeExpression() override { m_Operands.reset(); }

protected:
    OperandPair<Value> m_Operands;
};

} // namespace PluginKit
