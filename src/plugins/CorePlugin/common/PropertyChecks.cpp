// Checks of required properties.
#include "common/PropertyChecks.h"

#include "ResultCodes.h"
#include "common/PluginTrace.h"

namespace CorePlugin {

TErrorCode checkRequiredProperties(const PluginSDK::Expression& expression,
                                   std::initializer_list<RequiredProperty> properties,
                                   CheckMode mode, const TraceTarget& trace) {
    TErrorCode code = RC_SUCCESS;
    for (const RequiredProperty& property : properties) {
        if (expression.getProperty(property.name))
            continue;
        if (trace.scope && property.missingMessage)
            traceMessage(*trace.scope, TRACE_ERROR, trace.source, property.line,
                         property.missingMessage);
        code = property.missingCode;
        if (mode == CheckMode::StopAtFirst)
            return code;
    }
    return code;
}

} // namespace CorePlugin
