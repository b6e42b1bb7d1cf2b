// VectorContains: whether a list holds a value.
#include "SystemPlugin/cross/VectorContains.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "SystemPlugin/common/PropertyRules.h"

#include "PluginKit/PluginTrace.h"
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
    TErrorCode code = RC_SUCCESS;
    const wchar_t* value = requireProperty(*this, L"value", code,
                                           PluginKit::TraceTarget{&trace, kTraceSource, __LINE__});
    bool ignoreCase = false;
    if (code == RC_SUCCESS)
        code = readTruthSetting(*this, L"ignoreCase", false, ignoreCase,
                                PluginKit::TraceTarget{&trace, kTraceSource, __LINE__});
    if (code != RC_SUCCESS)
        return code;
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

// What VectorContains says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    PluginKit::required(L"value", RC_PROPERTY_MISSING), ignoreCaseRow()};

} // namespace

const PluginKit::ExpressionInfo VectorContains::kInfo = PluginKit::operation(
    L"VectorContains", PluginKit::ResultText::Truth, PluginKit::ChildKinds::Vector, 1, 1,
    kPropertyRows, "`true` when some value equals `value`");

} // namespace SystemPlugin
