// Trace records on the plug-in's tracer, as every plug-in on the SDK writes them.
#pragma once

#include "PluginKit/PluginTrace.h"

namespace CorePlugin {

using PluginKit::pluginTracer;
using PluginKit::TRACE_ERROR;
using PluginKit::TRACE_WARNING;
using PluginKit::TraceLevel;
using PluginKit::traceMessage;

} // namespace CorePlugin

#define CP_TRACE_ERROR PK_TRACE_ERROR
