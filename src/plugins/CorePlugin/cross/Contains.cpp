// Contains: whether a text begins with, ends with or contains a fragment.
#include "cross/Contains.h"

#include "ResultCodes.h"
#include "base/String.h"
#include "common/Converter.h"
#include "common/PluginTrace.h"
#include "common/PropertyChecks.h"

#include <cwchar>

namespace CorePlugin {

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
    if (position == L"start")
        found = input.startsWith(searched, 0);
    else if (position == L"end")
        found = input.endsWith(searched);
    else
        found = TextSearch(searchedText).findIn(inputText) != TextSearch::npos;
    result = Converter::toString(found);
    return RC_SUCCESS;
}

void Contains::disposeExpression() {}

} // namespace CorePlugin
