// The "IniFileKeyValue" expression.
#include "CorePlugin/cross/IniFileKeyValue.h"

#include "CorePlugin/common/PropertyRows.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/IniLookup.h"

namespace CorePlugin {

TErrorCode IniFileKeyValue::validateProperties() {
    return checkIniProperties(*this);
}

TErrorCode IniFileKeyValue::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    TErrorCode code = validateProperties();
    result = L"";
    if (code != RC_SUCCESS)
        return code;
    std::wstring value;
    if (lookupIniKey(*this, value))
        result = value.c_str();
    return RC_SUCCESS;
}

// What IniFileKeyValue says of itself.

const PluginKit::ExpressionInfo IniFileKeyValue::kInfo =
    PluginKit::operand(L"IniFileKeyValue", PluginKit::ResultText::Any, kIniPropertyRows,
                       "the key's value, or the empty text");

} // namespace CorePlugin
