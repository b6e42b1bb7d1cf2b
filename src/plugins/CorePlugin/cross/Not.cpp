// Not of exactly one truth value.
#include "CorePlugin/cross/Not.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/TruthValues.h"
#include "CorePlugin/common/Converter.h"

namespace CorePlugin {

void Not::disposeExpression() {
    m_Ready = false;
    m_Result = false;
    m_OperandsCounter = 0;
}

TErrorCode Not::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    if (m_OperandsCounter != 1)
        return RC_OPERANDS_INCOMPLETE;
    result = Converter::toString(m_Result);
    return RC_SUCCESS;
}

TErrorCode Not::update(const PluginSDK::String& value) {
    if (!isTruthValue(value))
        return RC_NOT_A_TRUTH_VALUE;
    if (m_OperandsCounter == 1)
        return RC_SURPLUS_OPERAND_UNARY;
    ++m_OperandsCounter;
    m_Ready = true;
    m_Result = isFalseText(value);
    return RC_SUCCESS;
}

// What Not says of itself.

const PluginKit::ExpressionInfo Not::kInfo = PluginKit::takingTruths(
    PluginKit::operation(L"Not", PluginKit::ResultText::Truth, PluginKit::ChildKinds::Scalar, 1, 1,
                         {}, "negation of a truth value"),
    PluginKit::TruthChildren::Every, RC_NOT_A_TRUTH_VALUE);

} // namespace CorePlugin
