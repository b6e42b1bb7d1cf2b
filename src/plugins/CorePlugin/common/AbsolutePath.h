// The "absolutePath" property through which the probes name the path they examine.
#pragma once

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/PropertyChecks.h"

namespace CorePlugin {

inline constexpr const wchar_t* kAbsolutePath = L"absolutePath";

// 0 when "absolutePath" is attached (an empty value counts), else -11025.
inline TErrorCode checkAbsolutePath(const PluginSDK::Expression& expression) {
    return checkRequiredProperties(expression, {{kAbsolutePath, RC_PATH_PROPERTY_MISSING}},
                                   CheckMode::StopAtFirst);
}

} // namespace CorePlugin
