// The "RecordField" expression.
#include "SystemPlugin/cross/RecordField.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ProbeChecks.h"
#include "SystemPlugin/common/RecordFieldQuery.h"

namespace SystemPlugin {

namespace {
constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/RecordField";
} // namespace

TErrorCode RecordField::getVectorResult(PluginSDK::StringVector& result) {
    result.removeAll();
    Trace trace(PluginKit::pluginTracer(),
                "RecordField::getVectorResult(PluginSDK::StringVector & result)");
    ProbeChecks checks(*this, trace, kTraceSource);
    RecordFieldQuery query(checks);
    TErrorCode code = query.check(*this);
    Values values;
    if (code == RC_SUCCESS)
        code = query.read(values);
    if (code != RC_SUCCESS)
        return code;
    for (const std::string& value : values)
        result.addString(PluginKit::TextLines::decode(value).c_str());
    return RC_SUCCESS;
}

} // namespace SystemPlugin
