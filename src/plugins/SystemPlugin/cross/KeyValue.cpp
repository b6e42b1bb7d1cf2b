// The "KeyValue" expression.
#include "SystemPlugin/cross/KeyValue.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/PluginContext.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/KeyValueQuery.h"
#include "SystemPlugin/common/ProbeChecks.h"

namespace SystemPlugin {

namespace {
constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/KeyValue";
} // namespace

TErrorCode KeyValue::getScalarResult(PluginSDK::String& result) {
    result = L"";
    Trace trace(PluginKit::pluginTracer(), "KeyValue::getScalarResult(PluginSDK::String & result)");
    ProbeChecks checks(*this, trace, kTraceSource);
    KeyValueQuery query(checks, true);
    Values values;
    bool missedFile = false;
    if (const TErrorCode code = query.run(*this, m_Context.sshConfigDir(), values, missedFile))
        return code;
    if (values.empty() && query.fallback()) {
        result = query.fallback();
        return RC_SUCCESS;
    }
    std::string number;
    if (values.empty() && missedFile)
        checks.fail(RC_NOT_FOUND, "Key not found, and a file does not exist", __LINE__);
    else if (values.empty())
        checks.fail(RC_KEY_NOT_FOUND, "Key not found", __LINE__);
    else if (query.wantsInteger() && !query.winningNumber(values, number))
        checks.fail(RC_NOT_AN_INTEGER, "The value is not an integer its program reads", __LINE__);
    if (checks.failed())
        return checks.code();
    result =
        PluginKit::TextLines::decode(query.wantsInteger() ? number : query.winner(values)).c_str();
    return RC_SUCCESS;
}

// What KeyValue says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    syntaxRow(),
    keyFileRow(),
    keyRow(),
    sectionRow(),
    dropinsRow(),
    PluginKit::optional(L"default", "the result when no file assigns the key"),
    matchRow(false),
    truthRow(L"integer", "`true`: the value must be an integer as its program reads it, given in "
                         "decimal (else -12025)"),
    fieldTestRow(L"FIELD.equals", "`deb822`: only stanzas whose field equals it"),
    fieldTestRow(L"FIELD.notEquals", "`deb822`: only stanzas whose field differs from it"),
    fieldTestRow(L"FIELD.matches", "`deb822`: only stanzas whose field matches the wildcard"),
    fieldTestRow(L"FIELD.notMatches", "`deb822`: only stanzas whose field does not match it"),
    networkRow()};

} // namespace

const PluginKit::ExpressionInfo KeyValue::kInfo =
    PluginKit::operand(L"KeyValue", PluginKit::ResultText::Any, kPropertyRows,
                       "the winning value of the key, as the owning program reads it");

} // namespace SystemPlugin
