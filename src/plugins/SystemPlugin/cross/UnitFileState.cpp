// The "UnitFileState" expression.
#include "SystemPlugin/cross/UnitFileState.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/PluginContext.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ProbeChecks.h"
#include "SystemPlugin/common/UnitFileResolver.h"
#include "SystemPlugin/common/UnitProperty.h"

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/UnitFileState";

TErrorCode codeOf(UnitFileResolver::Outcome outcome) {
    switch (outcome) {
    case UnitFileResolver::Outcome::State:
        return RC_SUCCESS;
    case UnitFileResolver::Outcome::Missing:
        return RC_NOT_FOUND;
    case UnitFileResolver::Outcome::Unreadable:
        return RC_UNREADABLE;
    case UnitFileResolver::Outcome::OverLimit:
        return RC_OVER_LIMIT;
    case UnitFileResolver::Outcome::SysV:
        return RC_NOT_AVAILABLE;
    case UnitFileResolver::Outcome::Refused:
        break;
    }
    return RC_REFUSED_BY_PROGRAM;
}

} // namespace

TErrorCode UnitFileState::getScalarResult(PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(),
                "UnitFileState::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    ProbeChecks checks(*this, trace, kTraceSource);
    const std::string unit = UnitProperty::read(checks, __LINE__);
    if (checks.failed())
        return checks.code();
    UnitFileResolver resolver(m_Context.unitRoot(), m_Context.unitDirectories());
    std::string state, reason;
    const TErrorCode code = codeOf(resolver.state(unit, state, reason));
    if (code != RC_SUCCESS) {
        checks.fail(code, (unit + ": " + reason).c_str(), __LINE__);
        return code;
    }
    result = PluginKit::TextLines::decode(state).c_str();
    return RC_SUCCESS;
}

// What UnitFileState says of itself.

const PluginKit::ExpressionInfo UnitFileState::kInfo =
    PluginKit::operand(L"UnitFileState", PluginKit::ResultText::Any, UnitProperty::kRows,
                       "what `systemctl is-enabled` prints, from the unit files alone");

} // namespace SystemPlugin
