// The two texts that are truth values; nothing else is one.
#pragma once

#include "PluginKit/TruthValues.h"

namespace CorePlugin {

using PluginKit::isFalseText;
using PluginKit::isTrueText;
using PluginKit::isTruthValue;
using PluginKit::kFalse;
using PluginKit::kTrue;

} // namespace CorePlugin
