// An operator of exactly one child of kind `Value`, on the SDK's operator
// class `Operator`: ready once it arrived, and back to none when disposed.
#pragma once

#include "PluginKit/SingleOperand.h"

namespace PluginKit {

template <typename Operator, typename Value> class SingleOperator : public Operator {
public:
    bool isReady() override { return m_Operand.isComplete(); }
    void disposeExpression() override { m_Operand.reset(); }

protected:
    SingleOperand<Value> m_Operand;
};

} // namespace PluginKit
