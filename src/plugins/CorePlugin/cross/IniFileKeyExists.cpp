// The "IniFileKeyExists" expression.
#include "cross/IniFileKeyExists.h"

#include "ResultCodes.h"
#include "TruthValues.h"
#include "common/IniLookup.h"

namespace CorePlugin {

TErrorCode IniFileKeyExists::validateProperties() {
    return checkIniProperties(*this);
}

TErrorCode IniFileKeyExists::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    TErrorCode code = validateProperties();
    if (code != RC_SUCCESS)
        return code;
    std::wstring value;
    result = lookupIniKey(*this, value) ? kTrue : kFalse;
    return RC_SUCCESS;
}

} // namespace CorePlugin
