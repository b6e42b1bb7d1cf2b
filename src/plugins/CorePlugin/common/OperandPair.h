// The two operands of a two-operand operator, counted as they are accepted.
#pragma once

#include "PluginKit/OperandPair.h"
#include "ResultCodes.h"

namespace CorePlugin {

using PluginKit::OperandPair;

} // namespace CorePlugin
