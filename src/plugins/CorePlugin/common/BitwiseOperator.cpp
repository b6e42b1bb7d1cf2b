// The mechanics of the bitwise operators.
#include "CorePlugin/common/BitwiseOperator.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/Converter.h"

namespace CorePlugin {

TErrorCode BitwiseOperator::update(const PluginSDK::String& value) {
    if (m_Operands.isComplete())
        return RC_SURPLUS_OPERAND_BINARY;
    unsigned long number = 0;
    TErrorCode rc = Converter::toUnsignedLong(value, number);
    if (rc != RC_SUCCESS)
        return rc;
    return m_Operands.accept(number);
}

TErrorCode BitwiseOperator::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    if (!m_Operands.isComplete())
        return RC_OPERANDS_INCOMPLETE;
    result = Converter::toString(combine(m_Operands.first(), m_Operands.second()));
    return RC_SUCCESS;
}

} // namespace CorePlugin
