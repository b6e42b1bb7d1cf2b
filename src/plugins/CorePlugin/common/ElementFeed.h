// Feeding the elements of a vector child, one at a time, to an operator that
// works on single values.
#pragma once

#include "CorePlugin/ResultCodes.h"
#include "PluginKit/ElementFeed.h"

namespace CorePlugin {

using PluginKit::offerElements;
using PluginKit::offerElementsWhile;

} // namespace CorePlugin
