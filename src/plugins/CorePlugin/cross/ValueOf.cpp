// A literal: the text of the property "value".
#include "cross/ValueOf.h"

#include "ResultCodes.h"

namespace CorePlugin {

TErrorCode ValueOf::getScalarResult(PluginSDK::String& result) {
    const wchar_t* value = getProperty(L"value");
    if (!value) {
        result = static_cast<const wchar_t*>(nullptr);
        return RC_VALUE_MISSING;
    }
    result = value;
    return RC_SUCCESS;
}

} // namespace CorePlugin
