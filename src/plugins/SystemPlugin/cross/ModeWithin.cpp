// ModeWithin: whether one permission mode grants nothing another does not.
#include "SystemPlugin/cross/ModeWithin.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "PluginKit/OctalMode.h"
#include "SystemPlugin/ResultCodes.h"

#include "PluginKit/TruthValues.h"

namespace SystemPlugin {

TErrorCode ModeWithin::update(const PluginSDK::String& value) {
    unsigned mode = 0;
    if (!PluginKit::readOctalMode(value.str(), mode))
        return RC_INVALID_MODE;
    return m_Operands.accept(mode);
}

TErrorCode ModeWithin::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    if (!m_Operands.isComplete())
        return RC_OPERANDS_INCOMPLETE;
    const bool within = (m_Operands.first() & ~m_Operands.second()) == 0;
    result = within ? PluginKit::kTrue : PluginKit::kFalse;
    return RC_SUCCESS;
}

// What ModeWithin says of itself.

const PluginKit::ExpressionInfo ModeWithin::kInfo = PluginKit::readingLiterals(
    PluginKit::operation(L"ModeWithin", PluginKit::ResultText::Truth, PluginKit::ChildKinds::Scalar,
                         2, 2, {}, "`true` when the first mode has no bit the second lacks"),
    PluginKit::LiteralInfo{L"octal mode", nullptr, RC_INVALID_MODE, {}});

} // namespace SystemPlugin
