// A literal: the text of the property "value".
#include "cross/ValueOf.h"

#include "ResultCodes.h"

namespace CorePlugin {

TErrorCode ValueOf::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    const wchar_t* value = getProperty(L"value");
    if (!value)
        return RC_VALUE_MISSING;
    result = value;
    return RC_SUCCESS;
}

} // namespace CorePlugin
