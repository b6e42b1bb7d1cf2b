// Checks of required properties, in a fixed order, shared by the expressions.
#pragma once

#include "PluginSDK/Expression.h"
#include "QxLogWrapper/Trace.h"

#include <initializer_list>

namespace PluginKit {

struct RequiredProperty {
    const wchar_t* name;
    TErrorCode missingCode;
    // Error record written when the property is missing; null writes none.
    const char* missingMessage = nullptr;
    // The line of this check in the expression's source, named by its record
    // (each check is written on a line of its own: pass __LINE__).
    int line = 0;
};

enum class CheckMode {
    // Stop at the first missing property and return its code.
    StopAtFirst,
    // Check every property; the code of the last missing one is returned.
    LastMissingWins,
};

// Where error records go: a scope, and the source and line to name (the line
// of a property check is the check's own).
struct TraceTarget {
    Trace* scope = nullptr;
    const char* source = nullptr;
    int line = 0;
};

// Returns 0 when every property is attached, else the code chosen by `mode`.
TErrorCode checkRequiredProperties(const PluginSDK::Expression& expression,
                                   std::initializer_list<RequiredProperty> properties,
                                   CheckMode mode, const TraceTarget& trace = TraceTarget());

} // namespace PluginKit
