// The "RecordField" expression.
#include "SystemPlugin/cross/RecordField.h"

#include "SystemPlugin/common/PropertyRows.h"

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

// What RecordField says of itself.

namespace {

// A test on field N: a number rule refuses other values with -12002.
constexpr PluginKit::PropertyInfo fieldTestRow(const wchar_t* name, PluginKit::ValueRule rule,
                                               const char* note) {
    PluginKit::PropertyInfo property = PluginKit::ruledUpTo(
        PluginKit::optional(name, note), rule, rule == PluginKit::ValueRule::Text ? 0 : ~0ULL,
        rule == PluginKit::ValueRule::Text ? TErrorCode{0} : TErrorCode{RC_PROPERTY_VALUE_INVALID});
    property.numbered = true;
    property.numberedMost = RecordFilter::kMaxField;
    return property;
}

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    pathRow(L"file", "one path"),
    PluginKit::ruledUpTo(PluginKit::required(L"field", RC_PROPERTY_MISSING, "the field to give"),
                         PluginKit::ValueRule::Ordinal, RecordFilter::kMaxField,
                         RC_PROPERTY_VALUE_INVALID),
    PluginKit::ruled(
        PluginKit::optional(L"split", "the field is split there into its non-empty parts"),
        PluginKit::ValueRule::Character, RC_PROPERTY_VALUE_INVALID),
    fieldTestRow(L"fN.equals", PluginKit::ValueRule::Text, "field N equals it"),
    fieldTestRow(L"fN.notEquals", PluginKit::ValueRule::Text, "field N differs from it"),
    fieldTestRow(L"fN.matches", PluginKit::ValueRule::Text, "field N matches the wildcard"),
    fieldTestRow(L"fN.notMatches", PluginKit::ValueRule::Text, "field N does not match it"),
    fieldTestRow(L"fN.atLeast", PluginKit::ValueRule::Count, "field N, a number, is at least it"),
    fieldTestRow(L"fN.below", PluginKit::ValueRule::Count, "field N, a number, is below it"),
    networkRow()};

} // namespace

const PluginKit::ExpressionInfo RecordField::kInfo =
    PluginKit::operand(L"RecordField", PluginKit::ResultText::List, kPropertyRows,
                       "field `field` of each record that passes every test");

} // namespace SystemPlugin
