// And of any number of truth values.
#include "CorePlugin/cross/And.h"

#include "CorePlugin/ResultCodes.h"

namespace CorePlugin {

And::And() : ShortCircuitOperator(false) {}

// What And says of itself.

const PluginKit::ExpressionInfo And::kInfo = PluginKit::takingTruths(
    PluginKit::operation(L"And", PluginKit::ResultText::Truth, PluginKit::ChildKinds::Scalar, 0,
                         PluginKit::kAnyNumber, {},
                         "`true` unless a child is `false` (stops early at the first `false`)"),
    PluginKit::TruthChildren::Every, RC_NOT_A_TRUTH_VALUE);

} // namespace CorePlugin
