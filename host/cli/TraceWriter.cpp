// Trace records as lines on standard error.
#include "cli/TraceWriter.h"

#include "eval/PluginCall.h"
#include "eval/PluginSet.h"

#include "QxLogWrapper/Tracer.h"

#include <string>

namespace corehost {

namespace {

std::string levelName(int level) {
    switch (level) {
    case 1:
        return "error";
    case 2:
        return "warning";
    default:
        return "level " + std::to_string(level);
    }
}

} // namespace

TraceWriter::TraceWriter(bool enabled, std::ostream& err) : m_Enabled(enabled) {
    if (!m_Enabled)
        return;
    Tracer::setSink([&err](const TraceRecord& record) {
        // A record written while the host calls a plug-in is that plug-in's.
        err << "trace: ";
        if (PluginModule* module = PluginCall::current())
            err << PluginSet::pluginName(*module) << ": ";
        err << levelName(record.level) << ": " << record.message << " [" << record.function
            << " at " << record.file << ':' << record.line << "]\n";
    });
}

TraceWriter::~TraceWriter() {
    if (m_Enabled)
        Tracer::setSink(nullptr);
}

} // namespace corehost
