// Checks of required properties.
#include "PluginKit/PropertyChecks.h"

#include "PluginKit/CommonCodes.h"
#include "PluginKit/PluginTrace.h"

namespace PluginKit {

TErrorCode checkRequiredProperties(const PluginSDK::Expression& expression,
                                   std::initializer_list<RequiredProperty> properties,
                                   CheckMode mode, const TraceTarget& trace) {
    TErrorCode code = kSuccess;
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

} // namespace PluginKit
