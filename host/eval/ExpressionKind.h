// The kind of an expression object as the host sees it: scalar or vector
// result, operand or operator.
#pragma once

#include "PluginSDK/Expression.h"

namespace corehost {

// "scalar operand", "scalar operator", "vector operand" or "vector operator";
// "unknown kind" for a kind code other than 0 and 1.
const char* describeKind(PluginSDK::Expression& expression);

// "scalar" or "vector" for a kind code, "unknown" otherwise.
const char* describeType(PluginSDK::ExpressionType type);

} // namespace corehost
