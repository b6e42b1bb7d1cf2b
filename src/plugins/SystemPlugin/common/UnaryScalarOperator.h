// A scalar operator of exactly one child, scalar (`Child` String) or vector
// (`Child` StringVector): a child of the other kind is refused with -102, a
// second child with -10004, and a result asked without the child is -10007.
// A failed child never reaches the operator: the host answers its code.
#pragma once

#include "SystemPlugin/ResultCodes.h"

#include "PluginKit/SingleOperator.h"
#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/StringVector.h"

#include <type_traits>

namespace SystemPlugin {

template <typename Child>
class UnaryScalarOperator : public PluginKit::SingleOperator<PluginSDK::ScalarOperator, Child> {
public:
    TErrorCode update(const PluginSDK::String& value) override {
        if constexpr (std::is_same_v<Child, PluginSDK::String>)
            return this->m_Operand.accept(value);
        else
            return RC_NOT_SUPPORTED;
    }
    TErrorCode update(const PluginSDK::StringVector& value) override {
        if constexpr (std::is_same_v<Child, PluginSDK::StringVector>)
            return this->m_Operand.accept(value);
        else
            return RC_NOT_SUPPORTED;
    }

    // -10007 without the child; else what evaluate answers. The result is
    // left empty unless evaluate succeeds.
    TErrorCode getScalarResult(PluginSDK::String& result) override {
        result = static_cast<const wchar_t*>(nullptr);
        if (!this->m_Operand.isComplete())
            return RC_OPERANDS_INCOMPLETE;
        PluginSDK::String value;
        const TErrorCode code = evaluate(this->m_Operand.value(), value);
        if (code == RC_SUCCESS)
            result = std::move(value);
        return code;
    }

protected:
    virtual TErrorCode evaluate(const Child& child, PluginSDK::String& result) = 0;
};

} // namespace SystemPlugin
