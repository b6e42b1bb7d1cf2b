// StringCrop: the part of a text between a start and an end delimiter.
#include "CorePlugin/cross/StringCrop.h"

#include "CorePlugin/common/PropertyRows.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/PluginTrace.h"
#include "CorePlugin/common/PropertyChecks.h"
#include "base/String.h"

namespace CorePlugin {

namespace {

// "" reads as if "seekFrom" were absent.
constexpr const wchar_t* kSeekModes[] = {L"left", L"right", L""};

} // namespace

namespace {

constexpr char kTraceSource[] = "src/plugins/CorePlugin/cross/StringCrop";

enum class SeekMode { Default, Left, Right };

// Start of the crop in the default and left modes: just after the first
// start delimiter, or the beginning when it is empty or absent.
int firstStart(const String& input, const String& startString) {
    if (startString.length() == 0)
        return 0;
    int position = input.indexOf(startString, 0);
    return position < 0 ? 0 : position + startString.length();
}

// End of the crop in the default and right modes: the last end delimiter, or
// the end of the text when it is empty or absent.
int lastEnd(const String& input, const String& endString) {
    if (endString.length() == 0)
        return input.length();
    int position = input.lastIndexOf(endString, -1);
    return position < 0 ? input.length() : position;
}

// Start of the crop in the right mode: just after the last start delimiter
// that lies wholly before `end`, or the beginning when there is none.
int lastStartBefore(const String& input, const String& startString, int end) {
    if (startString.length() == 0)
        return 0;
    int latestBegin = end - startString.length();
    if (latestBegin < 0)
        return 0;
    int position = input.lastIndexOf(startString, latestBegin);
    return position < 0 ? 0 : position + startString.length();
}

} // namespace

StringCrop::StringCrop() {
    Trace trace(pluginTracer(), "StringCrop::StringCrop()");
}

StringCrop::~StringCrop() {
    Trace trace(pluginTracer(), "StringCrop::~StringCrop()");
}

TErrorCode StringCrop::validateProperties() {
    Trace trace(pluginTracer(), "StringCrop::validateProperties()");
    TErrorCode code = checkRequiredProperties(
        *this,
        {{L"inputString", RC_INPUT_STRING_MISSING, "Unspecified inputString!", __LINE__},
         {L"startString", RC_START_OR_END_MISSING, "Unspecified startString!", __LINE__},
         {L"endString", RC_START_OR_END_MISSING, "Unspecified endString!", __LINE__}},
        CheckMode::LastMissingWins, TraceTarget{&trace, kTraceSource});
    if (code != RC_SUCCESS)
        return code;
    const wchar_t* seekFrom = getProperty(L"seekFrom");
    PluginSDK::String mode(seekFrom);
    if (seekFrom && PluginKit::indexOf(kSeekModes, seekFrom) < 0)
        return RC_INVALID_STRING_PARAMETER;
    return RC_SUCCESS;
}

TErrorCode StringCrop::getScalarResult(PluginSDK::String& result) {
    Trace trace(pluginTracer(), "StringCrop::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    TErrorCode code = validateProperties();
    if (code != RC_SUCCESS)
        return code;

    const String input(getProperty(L"inputString"));
    const String startString(getProperty(L"startString"));
    const String endString(getProperty(L"endString"));
    const PluginSDK::String seekFrom(getProperty(L"seekFrom"));
    SeekMode mode = seekFrom == kSeekModes[0]   ? SeekMode::Left
                    : seekFrom == kSeekModes[1] ? SeekMode::Right
                                                : SeekMode::Default;

    const int length = input.length();
    if (length == 0)
        return RC_SUCCESS;

    int start = 0;
    int end = length;
    switch (mode) {
    case SeekMode::Default:
        start = firstStart(input, startString);
        end = lastEnd(input, endString);
        break;
    case SeekMode::Left:
        start = firstStart(input, startString);
        if (endString.length() != 0) {
            if (start >= length)
                return RC_SUCCESS;
            int position = input.indexOf(endString, start);
            end = position < 0 ? length : position;
        }
        break;
    case SeekMode::Right:
        end = lastEnd(input, endString);
        start = lastStartBefore(input, startString, end);
        break;
    }

    if (start >= end || start == length)
        return RC_SUCCESS;
    result = input.substring(start, end - 1).c_wstr();
    return RC_SUCCESS;
}

void StringCrop::disposeExpression() {}

// What StringCrop says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    inputStringRow(), PluginKit::required(L"startString", RC_START_OR_END_MISSING),
    PluginKit::required(L"endString", RC_START_OR_END_MISSING),
    PluginKit::oneOf(PluginKit::optional(L"seekFrom", "which occurrences of the delimiters count"),
                     kSeekModes, RC_INVALID_STRING_PARAMETER)};

} // namespace

const PluginKit::ExpressionInfo StringCrop::kInfo =
    PluginKit::operand(L"StringCrop", PluginKit::ResultText::Any, kPropertyRows,
                       "the text between the two delimiters");

} // namespace CorePlugin
