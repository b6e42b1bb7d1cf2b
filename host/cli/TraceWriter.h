// Prints the trace records of the plug-ins on a stream while it lives, each
// after the name of the plug-in the host was calling when it came.
#pragma once

#include <ostream>

namespace corehost {

class TraceWriter {
public:
    // Installs the sink when `enabled`; otherwise does nothing.
    TraceWriter(bool enabled, std::ostream& err);
    // Uninstalls the sink it installed.
    ~TraceWriter();
    TraceWriter(const TraceWriter&) = delete;
    TraceWriter& operator=(const TraceWriter&) = delete;

private:
    bool m_Enabled;
};

} // namespace corehost
