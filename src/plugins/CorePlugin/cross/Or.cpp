// Or of any number of truth values.
#include "CorePlugin/cross/Or.h"

#include "CorePlugin/ResultCodes.h"

namespace CorePlugin {

Or::Or() : ShortCircuitOperator(true) {}

// What Or says of itself.

const PluginKit::ExpressionInfo Or::kInfo = PluginKit::takingTruths(
    PluginKit::operation(L"Or", PluginKit::ResultText::Truth, PluginKit::ChildKinds::Scalar, 0,
                         PluginKit::kAnyNumber, {},
                         "`false` unless a child is `true` (stops early at the first `true`)"),
    PluginKit::TruthChildren::Every, RC_NOT_A_TRUTH_VALUE);

} // namespace CorePlugin
