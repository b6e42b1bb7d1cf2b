// Trace records kept for the failed nodes, and as lines on standard error.
#include "cli/TraceWriter.h"

#include "eval/ExpressionTree.h"
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

TraceWriter::TraceWriter(bool print, std::ostream& err) {
    Tracer::setSink([print, &err](const TraceRecord& record) {
        if (record.level == 1)
            ExpressionTree::noteErrorRecord(record.message);
        if (!print)
            return;
        // A record written while the host calls a plug-in is that plug-in's.
        err << "trace: ";
        if (PluginModule* module = PluginCall::current())
            err << PluginSet::pluginName(*module) << ": ";
        err << levelName(record.level) << ": " << record.message << " [" << record.function
            << " at " << record.file << ':' << record.line << "]\n";
    });
}

TraceWriter::~TraceWriter() {
    Tracer::setSink(nullptr);
}

} // namespace corehost
