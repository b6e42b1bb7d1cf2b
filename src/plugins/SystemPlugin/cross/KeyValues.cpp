// The "KeyValues" expression.
#include "SystemPlugin/cross/KeyValues.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/PluginContext.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/KeyValueQuery.h"
#include "SystemPlugin/common/ProbeChecks.h"
#include "SystemPlugin/common/PropertyText.h"

namespace SystemPlugin {

namespace {
constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/KeyValues";
} // namespace

TErrorCode KeyValues::getVectorResult(PluginSDK::StringVector& result) {
    result.removeAll();
    Trace trace(PluginKit::pluginTracer(),
                "KeyValues::getVectorResult(PluginSDK::StringVector & result)");
    ProbeChecks checks(*this, trace, kTraceSource);
    KeyValueQuery query(checks, false);
    Values values;
    bool missedFile = false;
    if (const TErrorCode code = query.run(*this, m_Context.sshConfigDir(), values, missedFile))
        return code;
    // "each": a file that does not assign the key gives "default".
    for (std::size_t i = 0; query.each() && i < values.size() && !checks.failed(); ++i) {
        if (query.eachFound()[i])
            continue;
        if (!query.fallback())
            checks.fail(RC_KEY_NOT_FOUND, "A file does not assign the key, and no default",
                        __LINE__);
        else
            values[i] = utf8Of(query.fallback());
    }
    // With "integer", every value must be one, and is given as its number.
    for (std::string& value : values) {
        std::string number;
        if (query.wantsInteger() && !query.number(value, number))
            checks.fail(RC_NOT_AN_INTEGER, "A value is not an integer its program reads", __LINE__);
        else if (query.wantsInteger())
            value = std::move(number);
    }
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
    matchRow(true),
    PluginKit::appliesWhen(truthRow(L"each", "`true`: one value per file of `file`, that file's "
                                             "winning value (not for syntaxes that read their "
                                             "files together: -12002)"),
                           L"syntax", kStandaloneSyntaxes, 0, RC_PROPERTY_VALUE_INVALID),
    PluginKit::optional(L"default", "with `each`: the value of a file that does not assign the "
                                    "key (else -12014)"),
    truthRow(L"integer", "`true`: every value must be an integer as its program reads it, given "
                         "in decimal (else -12025)"),
    fieldTestRow(L"FIELD.equals", "`deb822`: only stanzas whose field equals it"),
    fieldTestRow(L"FIELD.notEquals", "`deb822`: only stanzas whose field differs from it"),
    fieldTestRow(L"FIELD.matches", "`deb822`: only stanzas whose field matches the wildcard"),
    fieldTestRow(L"FIELD.notMatches", "`deb822`: only stanzas whose field does not match it"),
    networkRow()};

} // namespace

const PluginKit::ExpressionInfo KeyValues::kInfo =
    PluginKit::operand(L"KeyValues", PluginKit::ResultText::List, kPropertyRows,
                       "every active assignment of the key, in order");

} // namespace SystemPlugin
