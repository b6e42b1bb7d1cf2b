// ScalarToVector: unpacks exactly one value into a list.
#include "CorePlugin/cross/ScalarToVector.h"

#include "CorePlugin/ResultCodes.h"
#include "PluginSDK/VectorString.h"

namespace CorePlugin {

ScalarToVector::ScalarToVector() = default;
ScalarToVector::~ScalarToVector() = default;

bool ScalarToVector::isReady() {
    return m_Ready;
}

void ScalarToVector::disposeExpression() {
    m_Ready = false;
    m_Value = L"";
}

TErrorCode ScalarToVector::getVectorResult(PluginSDK::StringVector& result) {
    result.removeAll();
    PluginSDK::VectorString::toVector(m_Value, result);
    return RC_SUCCESS;
}

TErrorCode ScalarToVector::update(const PluginSDK::StringVector& values) {
    if (values.size() != 1 || m_Ready)
        return RC_SURPLUS_OPERAND_UNARY;
    return update(values[0]);
}

TErrorCode ScalarToVector::update(const PluginSDK::String& value) {
    if (m_Ready)
        return RC_SURPLUS_OPERAND_UNARY;
    m_Value = value;
    m_Ready = true;
    return RC_SUCCESS;
}

// What ScalarToVector says of itself.

const PluginKit::ExpressionInfo ScalarToVector::kInfo = PluginKit::operation(
    L"ScalarToVector", PluginKit::ResultText::List, PluginKit::ChildKinds::ScalarOrVector, 1, 1, {},
    "the packed text unpacked into a list (a vector child of one element)");

} // namespace CorePlugin
