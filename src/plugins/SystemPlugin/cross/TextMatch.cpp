// TextMatch: whether a probed text matches a wildcard or a regular expression.
#include "SystemPlugin/cross/TextMatch.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TruthValues.h"

namespace SystemPlugin {

TErrorCode TextMatch::evaluate(const PluginSDK::String& child, PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(),
                "TextMatch::getScalarResult(PluginSDK::String & result)");
    const TErrorCode code = m_Selector.configure(*this, true, trace);
    if (code != RC_SUCCESS)
        return code;
    result = m_Selector.selects(child.str()) ? PluginKit::kTrue : PluginKit::kFalse;
    return RC_SUCCESS;
}

} // namespace SystemPlugin
