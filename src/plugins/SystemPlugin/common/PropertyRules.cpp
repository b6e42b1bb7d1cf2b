// Required and truth-valued properties, with their error records.
#include "SystemPlugin/common/PropertyRules.h"

#include "SystemPlugin/ResultCodes.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TruthProperty.h"
#include "base/Utf8.h"

#include <cwchar>
#include <string>

namespace SystemPlugin {

namespace {

void traceProperty(const PluginKit::TraceTarget& trace, const char* before, const wchar_t* name,
                   const char* after) {
    if (!trace.scope)
        return;
    std::string message(before);
    base::encodeUtf8(name, std::wcslen(name), message, true);
    message += after;
    PluginKit::traceMessage(*trace.scope, PluginKit::TRACE_ERROR, trace.source, trace.line,
                            message.c_str());
}

} // namespace

const wchar_t* requireProperty(const PluginSDK::Expression& expression, const wchar_t* name,
                               TErrorCode& code, const PluginKit::TraceTarget& trace) {
    const wchar_t* value = expression.getProperty(name);
    if (!value) {
        traceProperty(trace, "Unspecified \"", name, "\"!");
        code = RC_PROPERTY_MISSING;
    }
    return value;
}

TErrorCode readTruthSetting(const PluginSDK::Expression& expression, const wchar_t* name,
                            bool fallback, bool& value, const PluginKit::TraceTarget& trace) {
    if (PluginKit::readTruthProperty(expression, name, fallback, value))
        return RC_SUCCESS;
    traceProperty(trace, "\"", name, "\" is neither \"true\" nor \"false\"!");
    return RC_PROPERTY_VALUE_INVALID;
}

} // namespace SystemPlugin
