// Sort: a Vector whose list is sorted when read.
#include "CorePlugin/cross/Sort.h"

#include "CorePlugin/common/PropertyRows.h"

#include "CorePlugin/ResultCodes.h"

namespace CorePlugin {

namespace {

constexpr const wchar_t* kSortOrders[] = {L"asc", L"desc"};

} // namespace

Sort::Sort() = default;
Sort::~Sort() = default;

TErrorCode Sort::getVectorResult(PluginSDK::StringVector& result) {
    const wchar_t* order = getProperty(L"order");
    PluginSDK::String orderText(order);
    if (!order || orderText == kSortOrders[0])
        m_Values.sort(false);
    else if (orderText == kSortOrders[1])
        m_Values.sort(true);
    else
        return RC_INVALID_SORT_ORDER;
    return Vector::getVectorResult(result);
}

// What Sort says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    filterRow(), ignoreCaseRow(),
    PluginKit::oneOf(PluginKit::optional(L"order", "default `asc`"), kSortOrders,
                     RC_INVALID_SORT_ORDER)};

} // namespace

const PluginKit::ExpressionInfo Sort::kInfo = PluginKit::operation(
    L"Sort", PluginKit::ResultText::List, PluginKit::ChildKinds::ScalarOrVector, 0,
    PluginKit::kAnyNumber, kPropertyRows, "the values sorted by code point");

} // namespace CorePlugin
