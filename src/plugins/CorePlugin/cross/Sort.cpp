// Sort: a Vector whose list is sorted when read.
#include "cross/Sort.h"

#include "ResultCodes.h"

namespace CorePlugin {

Sort::Sort() = default;
Sort::~Sort() = default;

TErrorCode Sort::getVectorResult(PluginSDK::StringVector& result) {
    const wchar_t* order = getProperty(L"order");
    PluginSDK::String orderText(order);
    if (!order || orderText == L"asc")
        m_Values.sort(false);
    else if (orderText == L"desc")
        m_Values.sort(true);
    else
        return RC_INVALID_SORT_ORDER;
    return Vector::getVectorResult(result);
}

} // namespace CorePlugin
