// A literal: the text of the property "value".
#include "CorePlugin/cross/ValueOf.h"

#include "CorePlugin/ResultCodes.h"

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

// What ValueOf says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    PluginKit::required(L"value", RC_VALUE_MISSING)};

} // namespace

const PluginKit::ExpressionInfo ValueOf::kInfo =
    PluginKit::yieldingProperty(PluginKit::operand(L"ValueOf", PluginKit::ResultText::Property,
                                                   kPropertyRows, "the text of `value`"),
                                L"value");

} // namespace CorePlugin
