// The properties that StringSlice and Clip share, and the reading of their indexes.
#include "common/SliceIndexes.h"

#include "PluginSDK/String.h"
#include "ResultCodes.h"
#include "common/PluginTrace.h"

namespace CorePlugin {

namespace {

// True when the property's text is empty or a number; `value` takes the
// number and is left alone otherwise, whatever the conversion leaves behind.
bool readIndex(const PluginSDK::Expression& expression, const wchar_t* name, long& value) {
    PluginSDK::String text(expression.getProperty(name));
    if (text.length() == 0)
        return true;
    long number = 0;
    if (!text.toLong(number, true))
        return false;
    value = number;
    return true;
}

void traceError(const TraceTarget& trace, const char* message) {
    if (trace.scope)
        traceMessage(*trace.scope, TRACE_ERROR, trace.source, trace.line, message);
}

} // namespace

TErrorCode checkSliceProperties(const PluginSDK::Expression& expression, const TraceTarget& trace) {
    return checkRequiredProperties(
        expression,
        {{L"inputString", RC_INPUT_STRING_MISSING, "Unspecified inputString!"},
         {L"startIndex", RC_START_OR_END_MISSING, "Unspecified startIndex!"},
         {L"endIndex", RC_START_OR_END_MISSING, "Unspecified endIndex!"}},
        CheckMode::LastMissingWins, trace);
}

bool readSliceIndexes(const PluginSDK::Expression& expression, const TraceTarget& trace,
                      long& start, long& end) {
    bool valid = true;
    if (!readIndex(expression, L"startIndex", start)) {
        traceError(trace, "Error: startIndex not a number");
        valid = false;
    }
    if (!readIndex(expression, L"endIndex", end)) {
        traceError(trace, "Error: endIndex not a number");
        valid = false;
    }
    return valid;
}

} // namespace CorePlugin
