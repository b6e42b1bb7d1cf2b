// Contains: whether a text begins with, ends with or contains a fragment.
#include "CorePlugin/cross/Contains.h"

#include "CorePlugin/common/PropertyRows.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/Converter.h"
#include "CorePlugin/common/PluginTrace.h"
#include "CorePlugin/common/PropertyChecks.h"
#include "base/String.h"

#include <cwchar>

namespace CorePlugin {

namespace {

constexpr const wchar_t* kPositions[] = {L"start", L"end", L"anywhere"};

constexpr PluginKit::PropertyInfo positionRow() {
    PluginKit::PropertyInfo property =
        PluginKit::oneOf(PluginKit::required(L"position", RC_POSITION_MISSING,
                                             "any other value searches anywhere too"),
                         kPositions, 0);
    property.otherwise = "it searches anywhere";
    return property;
}

} // namespace

namespace {

constexpr char kTraceSource[] = "src/plugins/CorePlugin/cross/Contains";

} // namespace

Contains::Contains() {
    Trace trace(pluginTracer(), "Contains::Contains()");
}

Contains::~Contains() {
    Trace trace(pluginTracer(), "Contains::~Contains");
}

TErrorCode Contains::validateProperties() {
    Trace trace(pluginTracer(), "Contains::validateProperties()");
    return checkRequiredProperties(
        *this,
        {{L"inputString", RC_INPUT_STRING_MISSING, "Unspecified input string!", __LINE__},
         {L"searchedString", RC_INPUT_STRING_MISSING, "Unspecified searched string!", __LINE__},
         {L"position", RC_POSITION_MISSING, "Unspecified position!", __LINE__}},
        CheckMode::LastMissingWins, TraceTarget{&trace, kTraceSource});
}

TErrorCode Contains::getScalarResult(PluginSDK::String& result) {
    Trace trace(pluginTracer(), "Contains::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    TErrorCode code = validateProperties();
    if (code != RC_SUCCESS)
        return code;

    const wchar_t* inputText = getProperty(L"inputString");
    const wchar_t* searchedText = getProperty(L"searchedString");
    const String input(inputText);
    const String searched(searchedText);
    const PluginSDK::String position(getProperty(L"position"));
    bool found = false;
    if (position == kPositions[0])
        found = input.startsWith(searched, 0);
    else if (position == kPositions[1])
        found = input.endsWith(searched);
    else
        found = TextSearch(searchedText).findIn(inputText) != TextSearch::npos;
    result = Converter::toString(found);
    return RC_SUCCESS;
}

void Contains::disposeExpression() {}

// What Contains says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    inputStringRow(), PluginKit::required(L"searchedString", RC_INPUT_STRING_MISSING),
    positionRow()};

} // namespace

const PluginKit::ExpressionInfo Contains::kInfo =
    PluginKit::operand(L"Contains", PluginKit::ResultText::Truth, kPropertyRows,
                       "`true` when the text holds the fragment there");

} // namespace CorePlugin
