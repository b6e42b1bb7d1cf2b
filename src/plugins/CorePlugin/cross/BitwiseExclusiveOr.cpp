// Bitwise exclusive OR of two unsigned decimal numbers.
#include "CorePlugin/cross/BitwiseExclusiveOr.h"

#include "CorePlugin/ResultCodes.h"

namespace CorePlugin {

unsigned long BitwiseExclusiveOr::combine(unsigned long first, unsigned long second) const {
    return first ^ second;
}

// What BitwiseExclusiveOr says of itself.

const PluginKit::ExpressionInfo BitwiseExclusiveOr::kInfo = PluginKit::readingLiterals(
    PluginKit::operation(L"BitwiseExclusiveOr", PluginKit::ResultText::Number,
                         PluginKit::ChildKinds::Scalar, 2, 2, {}, "unsigned 64-bit XOR"),
    PluginKit::LiteralInfo{L"uinteger", nullptr, RC_NOT_AN_UNSIGNED_NUMBER, {}});

} // namespace CorePlugin
