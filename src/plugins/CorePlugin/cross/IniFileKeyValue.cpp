// The "IniFileKeyValue" expression.
#include "cross/IniFileKeyValue.h"

#include "ResultCodes.h"
#include "common/IniLookup.h"

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

} // namespace CorePlugin
