// The "KeyValues" expression.
#include "SystemPlugin/cross/KeyValues.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/PluginContext.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/KeyValueQuery.h"
#include "SystemPlugin/common/ProbeChecks.h"

namespace SystemPlugin {

namespace {
constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/KeyValues";
} // namespace

TErrorCode KeyValues::getVectorResult(PluginSDK::StringVector& result) {
    result.removeAll();
    Trace trace(PluginKit::pluginTracer(),
                "KeyValues::getVectorResult(PluginSDK::StringVector & result)");
    ProbeChecks checks(*this, trace, kTraceSource);
    KeyValueQuery query(checks);
    Values values;
    bool missedFile = false;
    if (const TErrorCode code = query.run(*this, m_Context.sshConfigDir(), values, missedFile))
        return code;
    // With "integer", every value must be one.
    for (const std::string& value : values)
        if (query.wantsInteger() && !isDecimalInteger(value))
            checks.fail(RC_NOT_AN_INTEGER, "A value is not an integer", __LINE__);
    if (checks.failed())
        return checks.code();
    for (const std::string& value : values)
        result.addString(PluginKit::TextLines::decode(value).c_str());
    return RC_SUCCESS;
}

// What KeyValues says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    syntaxRow(),
    keyFileRow(),
    keyRow(),
    sectionRow(),
    dropinsRow(),
    truthRow(L"integer", "`true`: every value must read as a decimal integer (else -12025)"),
    networkRow()};

} // namespace

const PluginKit::ExpressionInfo KeyValues::kInfo =
    PluginKit::operand(L"KeyValues", PluginKit::ResultText::List, kPropertyRows,
                       "every active assignment of the key, in order");

} // namespace SystemPlugin
