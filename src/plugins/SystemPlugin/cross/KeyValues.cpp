// The "KeyValues" expression.
#include "SystemPlugin/cross/KeyValues.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/PluginContext.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/KeyValueQuery.h"

namespace SystemPlugin {

namespace {
constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/KeyValues";
} // namespace

TErrorCode KeyValues::getVectorResult(PluginSDK::StringVector& result) {
    result.removeAll();
    Trace trace(PluginKit::pluginTracer(),
                "KeyValues::getVectorResult(PluginSDK::StringVector & result)");
    KeyValueQuery query(PluginKit::TraceTarget{&trace, kTraceSource});
    TErrorCode code = query.check(*this);
    Values values;
    bool missedFile = false;
    if (code == RC_SUCCESS)
        code = query.read(m_Context.sshConfigDir(), values, missedFile);
    if (code != RC_SUCCESS)
        return code;
    // With "integer", every value must be one.
    for (const std::string& value : values)
        if (query.wantsInteger() && !isDecimalInteger(value))
            return RC_NOT_AN_INTEGER;
    for (const std::string& value : values)
        result.addString(PluginKit::TextLines::decode(value).c_str());
    return RC_SUCCESS;
}

} // namespace SystemPlugin
