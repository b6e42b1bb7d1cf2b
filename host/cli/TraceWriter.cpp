// Trace records as lines on standard error.
#include "cli/TraceWriter.h"

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
        err << "trace: " << levelName(record.level) << ": " << record.message << " ["
            << record.function << " at " << record.file << ':' << record.line << "]\n";
    });
}

TraceWriter::~TraceWriter() {
    if (m_Enabled)
        Tracer::setSink(nullptr);
}

} // namespace corehost
