// Substring: the lines of a text that contain a fragment.
#include "CorePlugin/cross/Substring.h"

#include "CorePlugin/common/PropertyRows.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/PluginTrace.h"
#include "base/String.h"
#include "base/WideText.h"

#include <cwchar>
#include <string>
#include <vector>

namespace CorePlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/CorePlugin/cross/Substring";

} // namespace

Substring::Substring() {
    Trace trace(pluginTracer(), "Substring::Substring()");
}

Substring::~Substring() {
    Trace trace(pluginTracer(), "Substring::~Substring()");
}

TErrorCode Substring::validateProperties() {
    Trace trace(pluginTracer(), "");
    if (!getProperty(L"inputString")) {
        CP_TRACE_ERROR(trace, L"unspecified inputString");
        return RC_INPUT_STRING_MISSING;
    }
    if (!getProperty(L"searchedString")) {
        CP_TRACE_ERROR(trace, L"unspecified searchedString");
        return RC_INPUT_STRING_MISSING;
    }
    return RC_SUCCESS;
}

TErrorCode Substring::getVectorResult(PluginSDK::StringVector& result) {
    Trace trace(pluginTracer(), "Substring::getVectorResult()");
    TErrorCode code = validateProperties();
    if (code != RC_SUCCESS) {
        CP_TRACE_ERROR(trace, "Properties are incorrect");
        return code;
    }
    // wcstok splits in place: work on a writable copy of the text.
    const wchar_t* input = getProperty(L"inputString");
    std::vector<wchar_t> lines(input, input + std::wcslen(input) + 1);
    const TextSearch searched(getProperty(L"searchedString"));

    wchar_t* state = nullptr;
    for (wchar_t* line = i_wcstok(lines.data(), L"\n", &state); line;
         line = i_wcstok(nullptr, L"\n", &state))
        if (searched.findIn(line) != TextSearch::npos)
            result.addString(line);
    return RC_SUCCESS;
}

void Substring::disposeExpression() {}

const wchar_t* Substring::getOptionalProperty(const wchar_t* name,
                                              const wchar_t* defaultValue) const {
    const wchar_t* value = getProperty(name);
    return value ? value : defaultValue;
}

// What Substring says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    inputStringRow(), PluginKit::required(L"searchedString", RC_INPUT_STRING_MISSING)};

} // namespace

const PluginKit::ExpressionInfo Substring::kInfo =
    PluginKit::operand(L"Substring", PluginKit::ResultText::List, kPropertyRows,
                       "the lines of the text that contain the fragment");

} // namespace CorePlugin
