// The evaluation shared by the existence probes: "true" or "false" for
// whether `Target` (File or Path) finds its kind of object at "absolutePath".
#pragma once

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/common/AbsolutePath.h"
#include "CorePlugin/common/Converter.h"
#include "PluginSDK/Expression.h"
#include "PluginSDK/String.h"

namespace CorePlugin {

// The result is cleared first and stays cleared on failure: -11025 without
// "absolutePath", -11009 when the path cannot be examined.
template <typename Target>
TErrorCode existenceResult(const PluginSDK::Expression& expression, PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    TErrorCode code = checkAbsolutePath(expression);
    if (code != RC_SUCCESS)
        return code;
    Target target(expression.getProperty(kAbsolutePath));
    bool found = false;
    code = target.exists(&found);
    if (code == RC_SUCCESS)
        result = Converter::toString(found);
    return code;
}

} // namespace CorePlugin
