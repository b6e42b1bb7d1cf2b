// VectorContains: whether a list holds a value.
#include "SystemPlugin/cross/VectorContains.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TruthProperty.h"
#include "PluginKit/TruthValues.h"
#include "utils/Wildcard.h"

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/VectorContains";

} // namespace

TErrorCode VectorContains::evaluate(const PluginSDK::StringVector& child,
                                    PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(),
                "VectorContains::getScalarResult(PluginSDK::String & result)");
    const wchar_t* value = getProperty(L"value");
    if (!value) {
        PK_TRACE_ERROR(trace, "Unspecified \"value\"!");
        return RC_PROPERTY_MISSING;
    }
    bool ignoreCase = false;
    if (!PluginKit::readTruthProperty(*this, L"ignoreCase", false, ignoreCase)) {
        PK_TRACE_ERROR(trace, "\"ignoreCase\" is neither \"true\" nor \"false\"!");
        return RC_PROPERTY_VALUE_INVALID;
    }
    std::wstring wanted(value);
    if (ignoreCase)
        utils::stringToLower(wanted);
    bool found = false;
    for (const PluginSDK::String& item : child.items()) {
        if (!ignoreCase) {
            found = item.str() == wanted;
        } else {
            std::wstring lowered(item.str());
            utils::stringToLower(lowered);
            found = lowered == wanted;
        }
        if (found)
            break;
    }
    result = found ? PluginKit::kTrue : PluginKit::kFalse;
    return RC_SUCCESS;
}

} // namespace SystemPlugin
