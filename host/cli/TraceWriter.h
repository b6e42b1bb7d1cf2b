// Receives the plug-ins' trace records while it lives: each error record is
// kept for the tree node the host was calling (so that a report can say why
// a node failed), and with printing on every record goes to a stream, after
// the name of the plug-in the host was calling when it came.
#pragma once

#include <ostream>

namespace corehost {

class TraceWriter {
public:
    // Installs the sink; it prints on `err` only when `print` is set.
    TraceWriter(bool print, std::ostream& err);
    // Uninstalls the sink it installed.
    ~TraceWriter();
    TraceWriter(const TraceWriter&) = delete;
    TraceWriter& operator=(const TraceWriter&) = delete;
};

} // namespace corehost
