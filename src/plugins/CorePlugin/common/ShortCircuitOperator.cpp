// The mechanics of And and Or.
#include "CorePlugin/common/ShortCircuitOperator.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/TruthValues.h"
#include "CorePlugin/common/Converter.h"

namespace CorePlugin {

ShortCircuitOperator::ShortCircuitOperator(bool decidingValue)
    : m_DecidingValue(decidingValue), m_Ready(false), m_Result(!decidingValue) {}

void ShortCircuitOperator::disposeExpression() {
    m_Ready = false;
    m_Result = !m_DecidingValue;
}

TErrorCode ShortCircuitOperator::getScalarResult(PluginSDK::String& result) {
    result = Converter::toString(m_Result);
    return RC_SUCCESS;
}

TErrorCode ShortCircuitOperator::update(const PluginSDK::String& value) {
    if (!isTruthValue(value))
        return RC_NOT_A_TRUTH_VALUE;
    if (m_Ready || isTrueText(value) != m_DecidingValue)
        return RC_SUCCESS;
    m_Result = m_DecidingValue;
    m_Ready = true;
    return RC_SUCCESS;
}

} // namespace CorePlugin
