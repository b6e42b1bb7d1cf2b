// The "KeyValue" expression.
#include "SystemPlugin/cross/KeyValue.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/PluginContext.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/KeyValueQuery.h"

namespace SystemPlugin {

namespace {
constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/KeyValue";
} // namespace

TErrorCode KeyValue::getScalarResult(PluginSDK::String& result) {
    result = L"";
    Trace trace(PluginKit::pluginTracer(), "KeyValue::getScalarResult(PluginSDK::String & result)");
    KeyValueQuery query(PluginKit::TraceTarget{&trace, kTraceSource});
    TErrorCode code = query.check(*this);
    Values values;
    bool missedFile = false;
    if (code == RC_SUCCESS)
        code = query.read(m_Context.sshConfigDir(), values, missedFile);
    if (code != RC_SUCCESS)
        return code;
    if (values.empty() && query.fallback()) {
        result = query.fallback();
        return RC_SUCCESS;
    }
    if (values.empty())
        return missedFile ? RC_NOT_FOUND : RC_KEY_NOT_FOUND;
    const std::string& value = query.winner(values);
    if (query.wantsInteger() && !isDecimalInteger(value))
        return RC_NOT_AN_INTEGER;
    result = PluginKit::TextLines::decode(value).c_str();
    return RC_SUCCESS;
}

} // namespace SystemPlugin
