// Match: whether a text matches a wildcard pattern.
#include "CorePlugin/cross/Match.h"

#include "CorePlugin/common/PropertyRows.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/Converter.h"
#include "utils/Wildcard.h"

#include <string>

namespace CorePlugin {

Match::Properties::Properties() : inputString(nullptr), filter(nullptr), ignoreCase(false) {}

TErrorCode Match::validateProperties(Properties& properties) {
    properties.inputString = getProperty(L"inputString");
    if (!properties.inputString)
        return RC_INPUT_STRING_MISSING;
    properties.filter = getProperty(L"filter");
    if (!properties.filter)
        return RC_INPUT_STRING_MISSING;
    properties.ignoreCase = PluginSDK::String(getProperty(L"ignoreCase")) == L"true";
    return RC_SUCCESS;
}

TErrorCode Match::getScalarResult(PluginSDK::String& result) {
    Properties properties;
    TErrorCode code = validateProperties(properties);
    if (code != RC_SUCCESS)
        return code;
    // The matcher lowers its arguments when ignoring case: give it copies.
    std::wstring pattern(properties.filter);
    std::wstring text(properties.inputString);
    result = Converter::toString(utils::matchWildcard(pattern, text, properties.ignoreCase));
    return RC_SUCCESS;
}

void Match::disposeExpression() {}

// What Match says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    inputStringRow(), PluginKit::required(L"filter", RC_INPUT_STRING_MISSING, "a wildcard pattern"),
    ignoreCaseRow()};

} // namespace

const PluginKit::ExpressionInfo Match::kInfo =
    PluginKit::operand(L"Match", PluginKit::ResultText::Truth, kPropertyRows,
                       "`true` when the text matches the wildcard pattern");

} // namespace CorePlugin
