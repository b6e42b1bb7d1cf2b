// Case selector over pairs of condition and value.
#include "CorePlugin/cross/Switch.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/TruthValues.h"

namespace CorePlugin {

namespace {

constexpr const wchar_t* kDefaultProperty = L"default";

} // namespace

void Switch::disposeExpression() {
    m_State = ExpectingCondition;
    m_SelectedValue = static_cast<const wchar_t*>(nullptr);
}

TErrorCode Switch::getScalarResult(PluginSDK::String& result) {
    if (m_State == Selected)
        result = m_SelectedValue;
    else
        result = getProperty(kDefaultProperty);
    return RC_SUCCESS;
}

TErrorCode Switch::update(const PluginSDK::String& value) {
    switch (m_State) {
    case ExpectingCondition:
        if (isTrueText(value))
            m_State = TakingValue;
        else if (isFalseText(value))
            m_State = SkippingValue;
        else
            return RC_NOT_A_TRUTH_VALUE;
        return RC_SUCCESS;
    case SkippingValue:
        m_State = ExpectingCondition;
        return RC_SUCCESS;
    case TakingValue:
        m_SelectedValue = value;
        m_State = Selected;
        return RC_SUCCESS;
    case Selected:
        break;
    }
    return RC_SUCCESS;
}

TErrorCode Switch::updateWithError(long code) {
    switch (m_State) {
    case ExpectingCondition:
        // A condition that ran out of memory is not "false": it could have
        // been "true", and skipping it would answer another case's value.
        if (code == RC_INTERNAL_FAILURE) {
            m_State = Selected;
            return code;
        }
        m_State = SkippingValue;
        return RC_SUCCESS;
    case SkippingValue:
        m_State = ExpectingCondition;
        return RC_SUCCESS;
    case TakingValue:
        m_State = Selected;
        return code;
    case Selected:
        break;
    }
    return RC_SUCCESS;
}

// What Switch says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    PluginKit::optional(L"default", "the result when no condition is `true`")};

} // namespace

const PluginKit::ExpressionInfo Switch::kInfo = PluginKit::inPairs(PluginKit::takingTruths(
    PluginKit::operation(L"Switch", PluginKit::ResultText::Any, PluginKit::ChildKinds::Scalar, 0,
                         PluginKit::kAnyNumber, kPropertyRows,
                         "the value after the first `true` condition, else `default`"),
    PluginKit::TruthChildren::Conditions, RC_NOT_A_TRUTH_VALUE));

} // namespace CorePlugin
