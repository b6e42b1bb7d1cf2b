// Count: the number of values of a list.
#include "SystemPlugin/cross/Count.h"

#include "SystemPlugin/common/PropertyRows.h"

#include <string>

namespace SystemPlugin {

TErrorCode Count::evaluate(const PluginSDK::StringVector& child, PluginSDK::String& result) {
    result.str() = std::to_wstring(child.items().size());
    return RC_SUCCESS;
}

// What Count says of itself.

const PluginKit::ExpressionInfo Count::kInfo =
    PluginKit::operation(L"Count", PluginKit::ResultText::Number, PluginKit::ChildKinds::Vector, 1,
                         1, {}, "the number of values, decimal");

} // namespace SystemPlugin
