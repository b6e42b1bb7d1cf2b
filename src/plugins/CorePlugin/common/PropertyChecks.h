// Checks of required properties, in a fixed order, shared by the expressions.
#pragma once

#include "PluginKit/PropertyChecks.h"

namespace CorePlugin {

using PluginKit::CheckMode;
using PluginKit::checkRequiredProperties;
using PluginKit::RequiredProperty;
using PluginKit::TraceTarget;

} // namespace CorePlugin
