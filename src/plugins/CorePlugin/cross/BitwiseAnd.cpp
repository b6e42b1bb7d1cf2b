// Bitwise AND of two unsigned decimal numbers.
#include "CorePlugin/cross/BitwiseAnd.h"

#include "CorePlugin/ResultCodes.h"

namespace CorePlugin {

unsigned long BitwiseAnd::combine(unsigned long first, unsigned long second) const {
    return first & second;
}

// What BitwiseAnd says of itself.

const PluginKit::ExpressionInfo BitwiseAnd::kInfo = PluginKit::readingLiterals(
    PluginKit::operation(L"BitwiseAnd", PluginKit::ResultText::Number,
                         PluginKit::ChildKinds::Scalar, 2, 2, {},
                         "unsigned 64-bit AND of two decimal numbers"),
    PluginKit::LiteralInfo{L"uinteger", nullptr, RC_NOT_AN_UNSIGNED_NUMBER, {}});

} // namespace CorePlugin
