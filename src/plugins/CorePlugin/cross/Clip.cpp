// Clip: the characters of a text in an inclusive range of positions.
#include "CorePlugin/cross/Clip.h"

#include "CorePlugin/common/PropertyRows.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/PluginTrace.h"
#include "CorePlugin/common/SliceIndexes.h"
#include "base/String.h"

namespace CorePlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/CorePlugin/cross/Clip";

} // namespace

Clip::Clip() {
    Trace trace(pluginTracer(), "Clip::Clip()");
}

Clip::~Clip() {
    Trace trace(pluginTracer(), "Clip::~Clip()");
}

TErrorCode Clip::validateProperties() {
    Trace trace(pluginTracer(), "Clip::validateProperties()");
    return checkRequiredProperties(
        *this,
        {{L"inputString", RC_INPUT_STRING_MISSING, "Unspecified inputString!", __LINE__},
         {L"startIndex", RC_START_OR_END_MISSING, "Unspecified startIndex!", __LINE__},
         {L"endIndex", RC_START_OR_END_MISSING, "Unspecified endIndex!", __LINE__}},
        CheckMode::LastMissingWins, TraceTarget{&trace, kTraceSource});
}

TErrorCode Clip::getScalarResult(PluginSDK::String& result) {
    Trace trace(pluginTracer(), "Clip::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    TErrorCode code = validateProperties();
    if (code != RC_SUCCESS)
        return code;

    const String input(getProperty(L"inputString"));
    const long last = static_cast<long>(input.length()) - 1;
    long start = 0;
    long end = 0;
    // Both are read (and traced) before either refusal is returned.
    const bool startRead =
        readSliceIndex(*this, L"startIndex", TraceTarget{&trace, kTraceSource, __LINE__}, start);
    if (!readSliceIndex(*this, L"endIndex", TraceTarget{&trace, kTraceSource, __LINE__}, end) ||
        !startRead)
        return RC_INVALID_STRING_PARAMETER;
    if (start < 0 || end < 0) {
        CP_TRACE_ERROR(trace, "Error: indexes should be >=  than zero");
        return RC_INVALID_STRING_PARAMETER;
    }
    if (start > last || end > last) {
        CP_TRACE_ERROR(trace, "Error: startIndex or endIndex > inputString length");
        return RC_INVALID_STRING_PARAMETER;
    }

    // 0 <= start, end <= last, and the length fits an int.
    if (end == 0) {
        result = input.substring(static_cast<int>(start)).c_wstr();
        return RC_SUCCESS;
    }
    if (start > end) {
        CP_TRACE_ERROR(trace, "Error: startIndex > endIndex");
        return RC_INVALID_STRING_PARAMETER;
    }
    result = input.substring(static_cast<int>(start), static_cast<int>(end)).c_wstr();
    return RC_SUCCESS;
}

void Clip::disposeExpression() {}

// What Clip says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    inputStringRow(), sliceIndexRow(L"startIndex", PluginKit::ValueRule::CountOrEmpty, nullptr),
    sliceIndexRow(L"endIndex", PluginKit::ValueRule::CountOrEmpty, "`0`: to the end of the text")};

} // namespace

const PluginKit::ExpressionInfo Clip::kInfo =
    PluginKit::operand(L"Clip", PluginKit::ResultText::Any, kPropertyRows,
                       "characters `startIndex`..`endIndex` inclusive");

} // namespace CorePlugin
