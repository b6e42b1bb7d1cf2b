// Bitwise inclusive OR of two unsigned decimal numbers.
#include "CorePlugin/cross/BitwiseInclusiveOr.h"

#include "CorePlugin/ResultCodes.h"

namespace CorePlugin {

unsigned long BitwiseInclusiveOr::combine(unsigned long first, unsigned long second) const {
    return first | second;
}

// What BitwiseInclusiveOr says of itself.

const PluginKit::ExpressionInfo BitwiseInclusiveOr::kInfo = PluginKit::readingLiterals(
    PluginKit::operation(L"BitwiseInclusiveOr", PluginKit::ResultText::Number,
                         PluginKit::ChildKinds::Scalar, 2, 2, {}, "unsigned 64-bit OR"),
    PluginKit::LiteralInfo{L"uinteger", nullptr, RC_NOT_AN_UNSIGNED_NUMBER, {}});

} // namespace CorePlugin
