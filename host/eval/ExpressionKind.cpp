// Names of expression kinds.
#include "eval/ExpressionKind.h"

namespace corehost {

const char* describeType(PluginSDK::ExpressionType type) {
    switch (type) {
    case PluginSDK::SCALAR_EXPRESSION:
        return "scalar";
    case PluginSDK::VECTOR_EXPRESSION:
        return "vector";
    }
    return "unknown";
}

const char* describeKind(PluginSDK::Expression& expression) {
    const bool isOperator = expression.isOperator();
    switch (expression.getType()) {
    case PluginSDK::SCALAR_EXPRESSION:
        return isOperator ? "scalar operator" : "scalar operand";
    case PluginSDK::VECTOR_EXPRESSION:
        return isOperator ? "vector operator" : "vector operand";
    }
    return "unknown kind";
}

} // namespace corehost
