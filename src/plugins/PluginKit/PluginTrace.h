// Trace records on the plug-in's tracer: one helper for every message the
// expressions write.
#pragma once

#include "QxLogWrapper/Trace.h"
#include "QxLogWrapper/Tracer.h"

namespace PluginKit {

enum TraceLevel { TRACE_ERROR = 1, TRACE_WARNING = 2 };

inline Tracer& pluginTracer() {
    return Tracer::getInstance(Tracer::Plugin);
}

// Writes one record through `scope`: the level, the position, the message and
// the closing modifier.
template <typename Text>
void traceMessage(Trace& scope, int level, const char* source, int line, const Text* message) {
    scope.m_Level = level;
    scope << scope.pos(source, line) << message << Trace::Modifier(0);
}

} // namespace PluginKit

// Writes an error record at the current line; the including file defines
// kTraceSource, its path under src/plugins/ without extension.
#define PK_TRACE_ERROR(scope, message)                                                             \
    ::PluginKit::traceMessage((scope), ::PluginKit::TRACE_ERROR, kTraceSource, __LINE__, (message))
