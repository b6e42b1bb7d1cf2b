// TextMatch: whether a probed text matches a wildcard or a regular expression.
#include "SystemPlugin/cross/TextMatch.h"

#include "SystemPlugin/common/PropertyRows.h"

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

// What TextMatch says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {filterRow(), ignoreCaseRow(),
                                                     optionalPatternRow(true)};

} // namespace

const PluginKit::ExpressionInfo TextMatch::kInfo = PluginKit::operation(
    L"TextMatch", PluginKit::ResultText::Truth, PluginKit::ChildKinds::Scalar, 1, 1, kPropertyRows,
    "`true` when the child's text matches; one of `filter`, `pattern` (else -12001)");

} // namespace SystemPlugin
