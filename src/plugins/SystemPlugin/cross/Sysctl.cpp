// The "Sysctl" expression.
#include "SystemPlugin/cross/Sysctl.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ProbeChecks.h"
#include "SystemPlugin/common/SysctlParameter.h"

namespace SystemPlugin {

namespace {
constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/Sysctl";
} // namespace

TErrorCode Sysctl::getScalarResult(PluginSDK::String& result) {
    result = L"";
    Trace trace(PluginKit::pluginTracer(), "Sysctl::getScalarResult(PluginSDK::String & result)");
    ProbeChecks checks(*this, trace, kTraceSource);
    SysctlParameter parameter(checks);
    TErrorCode code = parameter.check(*this);
    if (code == RC_SUCCESS) {
        checks.requireRunningSystem("the running kernel's parameters", __LINE__);
        code = checks.code();
    }
    std::string value;
    if (code == RC_SUCCESS)
        code = parameter.read(value);
    if (code != RC_SUCCESS)
        return code;
    result = PluginKit::TextLines::decode(value).c_str();
    return RC_SUCCESS;
}

// What Sysctl says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    PluginKit::shaped(PluginKit::required(L"name", RC_PROPERTY_MISSING,
                                          "`net.ipv4.ip_forward`, or with `/` between the parts"),
                      "[^./*?\\[]+([./][^./*?\\[]+)*", RC_PROPERTY_VALUE_INVALID)};

} // namespace

const PluginKit::ExpressionInfo Sysctl::kInfo =
    PluginKit::operand(L"Sysctl", PluginKit::ResultText::Any, kPropertyRows,
                       "the kernel parameter's value, blanks folded");

} // namespace SystemPlugin
