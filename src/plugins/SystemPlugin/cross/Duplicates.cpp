// Duplicates: the values that occur more than once in a list.
#include "SystemPlugin/cross/Duplicates.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "SystemPlugin/common/PropertyRules.h"

#include "PluginKit/PluginTrace.h"
#include "SystemPlugin/common/AccountId.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/Duplicates";

} // namespace

TErrorCode Duplicates::update(const PluginSDK::StringVector& value) {
    return m_Operand.accept(value);
}

TErrorCode Duplicates::getVectorResult(PluginSDK::StringVector& result) {
    Trace trace(PluginKit::pluginTracer(),
                "Duplicates::getVectorResult(PluginSDK::StringVector & result)");
    result.removeAll();
    if (!m_Operand.isComplete())
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
    const std::vector<PluginSDK::String>& items = m_Operand.value().items();
    std::vector<std::wstring> keys(items.size());
    // For each distinct value: how often it occurs.
    std::unordered_map<std::wstring, std::size_t> occurrences;
    occurrences.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!comparisonKey(items[i].str(), ignoreCase, numeric, keys[i])) {
            PK_TRACE_ERROR(trace, "A value is no user or group id");
            return RC_NOT_AN_INTEGER;
        }
        ++occurrences[keys[i]];
    }
    // A repeated value is given at its first occurrence, as spelled there;
    // its count is then cleared so that later occurrences give nothing.
    PluginSDK::StringVector duplicates;
    for (std::size_t i = 0; i < items.size(); ++i) {
        std::size_t& count = occurrences[keys[i]];
        if (count > 1)
            duplicates.addString(items[i]);
        count = 0;
    }
    result = std::move(duplicates);
    return RC_SUCCESS;
}

// What Duplicates says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {ignoreCaseRow(), numericRow()};

} // namespace

const PluginKit::ExpressionInfo Duplicates::kInfo = PluginKit::operation(
    L"Duplicates", PluginKit::ResultText::List, PluginKit::ChildKinds::Vector, 1, 1, kPropertyRows,
    "each value that occurs more than once, once, in order of first occurrence");

} // namespace SystemPlugin
