// The "AuditRules" expression.
#include "SystemPlugin/cross/AuditRules.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/AuditRulesQuery.h"
#include "SystemPlugin/common/PropertyRows.h"

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

// What AuditRules says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    choiceRow(L"source", AuditRulesQuery::kSources,
              "`files` (default): rules.d as augenrules joins it; `loaded`: the kernel's list"),
    PluginKit::appliesUnless(
        pathsRow(PluginKit::optional(L"file", "paths separated by `;` (globs allowed), read "
                                              "instead of rules.d; with `source` `files` only")),
        L"source", AuditRulesQuery::kLoadedSource, 0, RC_PROPERTY_VALUE_INVALID),
    networkRow()};

} // namespace

const PluginKit::ExpressionInfo AuditRules::kInfo = PluginKit::operand(
    L"AuditRules", PluginKit::ResultText::List, kPropertyRows,
    "each rule in the form `auditctl -l` prints, in load order; the last `-e N` last");

} // namespace SystemPlugin
