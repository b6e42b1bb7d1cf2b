// The "AuditRules" expression.
#include "SystemPlugin/cross/AuditRules.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/AuditRulesQuery.h"

#include <string>
#include <vector>

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/AuditRules";

} // namespace

TErrorCode AuditRules::getVectorResult(PluginSDK::StringVector& result) {
    Trace trace(PluginKit::pluginTracer(),
                "AuditRules::getVectorResult(PluginSDK::StringVector & result)");
    result.removeAll();
    std::vector<std::string> texts;
    const TErrorCode code = AuditRulesQuery::run(*this, trace, kTraceSource, texts);
    if (code != RC_SUCCESS)
        return code;
    for (const std::string& text : texts)
        result.addString(PluginKit::TextLines::decode(text).c_str());
    return RC_SUCCESS;
}

} // namespace SystemPlugin
