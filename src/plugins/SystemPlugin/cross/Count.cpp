// Count: the number of values of a list.
#include "SystemPlugin/cross/Count.h"

#include <string>

namespace SystemPlugin {

TErrorCode Count::evaluate(const PluginSDK::StringVector& child, PluginSDK::String& result) {
    result.str() = std::to_wstring(child.items().size());
    return RC_SUCCESS;
}

} // namespace SystemPlugin
