// One host's report as a self-contained HTML page.
#pragma once

#include "cli/HostRecord.h"

#include <ostream>

namespace corehost {

// The run, the counts by severity and section, the failed and erred rules
// grouped by section (each with its severity, description, expected and
// actual result, reason and folded evaluation), then every other rule.
void writeHostPage(std::ostream& out, const HostRecord& host);

} // namespace corehost
