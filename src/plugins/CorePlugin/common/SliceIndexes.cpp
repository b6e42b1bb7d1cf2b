// The reading of the indexes of StringSlice and Clip.
#include "CorePlugin/common/SliceIndexes.h"

#include "CorePlugin/common/PluginTrace.h"
#include "PluginSDK/String.h"

#include <cwchar>

namespace CorePlugin {

bool readSliceIndex(const PluginSDK::Expression& expression, const wchar_t* name,
                    const TraceTarget& trace, long& value) {
    PluginSDK::String text(expression.getProperty(name));
    if (text.length() == 0)
        return true;
    long number = 0;
    if (text.toLong(number, true)) {
        value = number;
        return true;
    }
    if (trace.scope)
        traceMessage(*trace.scope, TRACE_ERROR, trace.source, trace.line,
                     std::wcscmp(name, L"startIndex") == 0 ? "Error: startIndex not a number"
                                                           : "Error: endIndex not a number");
    return false;
}

} // namespace CorePlugin
