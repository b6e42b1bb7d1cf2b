// StringSlice: the characters of a text in a half-open range of positions.
#include "CorePlugin/cross/StringSlice.h"

#include "CorePlugin/common/PropertyRows.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/PluginTrace.h"
#include "CorePlugin/common/SliceIndexes.h"
#include "base/String.h"

namespace CorePlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/CorePlugin/cross/StringSlice";

// A negative index counts from the end; one still negative after that is 0.
// `length` is not negative, so the sum cannot overflow.
long fromEnd(long index, long length) {
    if (index >= 0)
        return index;
    index += length;
    return index < 0 ? 0 : index;
}

} // namespace

StringSlice::StringSlice() {
    Trace trace(pluginTracer(), "StringSlice::StringSlice()");
}

StringSlice::~StringSlice() {
    Trace trace(pluginTracer(), "StringSlice::~StringSlice()");
}

TErrorCode StringSlice::validateProperties() {
    Trace trace(pluginTracer(), "StringSlice::validateProperties()");
    return checkRequiredProperties(
        *this,
        {{L"inputString", RC_INPUT_STRING_MISSING, "Unspecified inputString!", __LINE__},
         {L"startIndex", RC_START_OR_END_MISSING, "Unspecified startIndex!", __LINE__},
         {L"endIndex", RC_START_OR_END_MISSING, "Unspecified endIndex!", __LINE__}},
        CheckMode::LastMissingWins, TraceTarget{&trace, kTraceSource});
}

TErrorCode StringSlice::getScalarResult(PluginSDK::String& result) {
    Trace trace(pluginTracer(), "StringSlice::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    TErrorCode code = validateProperties();
    if (code != RC_SUCCESS)
        return code;

    const String input(getProperty(L"inputString"));
    const long length = input.length();
    if (length == 0)
        return RC_SUCCESS;

    long start = 0;
    long end = length;
    if (!readSliceIndex(*this, L"startIndex", TraceTarget{&trace, kTraceSource, __LINE__}, start))
        code = RC_INVALID_STRING_PARAMETER;
    if (!readSliceIndex(*this, L"endIndex", TraceTarget{&trace, kTraceSource, __LINE__}, end))
        code = RC_INVALID_STRING_PARAMETER;
    start = fromEnd(start, length);
    end = fromEnd(end, length);

    if (start > end || start >= length)
        return code;
    if (start == end) {
        result = L"";
        return code;
    }
    if (end > length)
        end = length;
    // 0 <= start < end <= length, and length fits an int.
    result = input.substring(static_cast<int>(start), static_cast<int>(end - 1)).c_wstr();
    return code;
}

void StringSlice::disposeExpression() {}

// What StringSlice says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    inputStringRow(),
    sliceIndexRow(L"startIndex", PluginKit::ValueRule::NumberOrEmpty,
                  "negative counts from the end"),
    sliceIndexRow(L"endIndex", PluginKit::ValueRule::NumberOrEmpty,
                  "negative counts from the end")};

} // namespace

const PluginKit::ExpressionInfo StringSlice::kInfo =
    PluginKit::operand(L"StringSlice", PluginKit::ResultText::Any, kPropertyRows,
                       "characters `startIndex`..`endIndex`-1");

} // namespace CorePlugin
