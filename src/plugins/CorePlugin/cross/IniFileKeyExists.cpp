// The "IniFileKeyExists" expression.
#include "CorePlugin/cross/IniFileKeyExists.h"

#include "CorePlugin/common/PropertyRows.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/TruthValues.h"
#include "CorePlugin/common/IniLookup.h"

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

// What IniFileKeyExists says of itself.

const PluginKit::ExpressionInfo IniFileKeyExists::kInfo =
    PluginKit::operand(L"IniFileKeyExists", PluginKit::ResultText::Truth, kIniPropertyRows,
                       "`true` when the key is in the section");

} // namespace CorePlugin
