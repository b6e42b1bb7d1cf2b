// Basic types shared by the host SDK and its plug-ins.
#pragma once

#include <cstdint>

#define PLUGINSDK_API __attribute__((visibility("default")))

// Result of every operation that can fail: 0 is success, failures are negative.
typedef long TErrorCode;

namespace PluginSDK {

// Kind code of an expression's result.
enum ExpressionType : int {
    SCALAR_EXPRESSION = 0,
    VECTOR_EXPRESSION = 1,
};

// Version record of a plug-in, most significant field first.
struct PluginVersion {
    std::int32_t major;
    std::int32_t minor;
    std::int32_t build;
    std::int32_t revision;
};

} // namespace PluginSDK
