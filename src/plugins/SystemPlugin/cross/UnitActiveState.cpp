// The "UnitActiveState" expression.
#include "SystemPlugin/cross/UnitActiveState.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ProbeChecks.h"
#include "SystemPlugin/common/ServiceManager.h"
#include "SystemPlugin/common/UnitProperty.h"

namespace SystemPlugin {

namespace {
constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/UnitActiveState";
} // namespace

TErrorCode UnitActiveState::getScalarResult(PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(),
                "UnitActiveState::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    ProbeChecks checks(*this, trace, kTraceSource);
    const std::string unit = UnitProperty::read(checks, __LINE__);
    checks.requireRunningSystem("the service manager", __LINE__);
    if (checks.failed())
        return checks.code();
    std::string state, detail;
    const TErrorCode code = ServiceManager::activeState(unit, state, detail);
    if (code != RC_SUCCESS) {
        checks.fail(code, (unit + ": " + detail).c_str(), __LINE__);
        return code;
    }
    result = PluginKit::TextLines::decode(state).c_str();
    return RC_SUCCESS;
}

// What UnitActiveState says of itself.

const PluginKit::ExpressionInfo UnitActiveState::kInfo = PluginKit::operand(
    L"UnitActiveState", PluginKit::ResultText::Any, UnitProperty::kRows,
    "the ActiveState from the running service manager (-12026 none, -12027 no answer in 5 s)");

} // namespace SystemPlugin
