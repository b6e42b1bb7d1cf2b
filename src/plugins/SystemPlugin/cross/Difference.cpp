// Difference: what one list holds and another does not.
#include "SystemPlugin/cross/Difference.h"

#include "PluginKit/PluginTrace.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/AccountId.h"
#include "SystemPlugin/common/PropertyRules.h"

#include <string>
#include <unordered_set>

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/Difference";

} // namespace

TErrorCode Difference::update(const PluginSDK::StringVector& value) {
    return m_Operands.accept(value);
}

TErrorCode Difference::getVectorResult(PluginSDK::StringVector& result) {
    Trace trace(PluginKit::pluginTracer(),
                "Difference::getVectorResult(PluginSDK::StringVector & result)");
    result.removeAll();
    if (!m_Operands.isComplete())
        return RC_OPERANDS_INCOMPLETE;
    bool ignoreCase = false;
    bool numeric = false;
    TErrorCode code = readTruthSetting(*this, L"ignoreCase", false, ignoreCase,
                                       PluginKit::TraceTarget{&trace, kTraceSource, __LINE__});
    if (code == RC_SUCCESS)
        code = readTruthSetting(*this, L"numeric", false, numeric,
                                PluginKit::TraceTarget{&trace, kTraceSource, __LINE__});
    if (code != RC_SUCCESS)
        return code;
    std::wstring key;
    std::unordered_set<std::wstring> excluded;
    for (const PluginSDK::String& item : m_Operands.second().items()) {
        if (!comparisonKey(item.str(), ignoreCase, numeric, key)) {
            PK_TRACE_ERROR(trace, "A value of the second list is no user or group id");
            return RC_NOT_AN_INTEGER;
        }
        excluded.insert(key);
    }
    // A value given is excluded from then on: each is given once.
    PluginSDK::StringVector difference;
    for (const PluginSDK::String& item : m_Operands.first().items()) {
        if (!comparisonKey(item.str(), ignoreCase, numeric, key)) {
            PK_TRACE_ERROR(trace, "A value of the first list is no user or group id");
            return RC_NOT_AN_INTEGER;
        }
        if (excluded.insert(key).second)
            difference.addString(item);
    }
    result = std::move(difference);
    return RC_SUCCESS;
}

// What Difference says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {ignoreCaseRow(), numericRow()};

} // namespace

const PluginKit::ExpressionInfo Difference::kInfo = PluginKit::operation(
    L"Difference", PluginKit::ResultText::List, PluginKit::ChildKinds::Vector, 2, 2, kPropertyRows,
    "the values of the first child that are not in the second, in order, each once");

} // namespace SystemPlugin
