// The severities a rule may carry, from the least to the most severe.
#pragma once

#include <string>

namespace corehost {

extern const char* const kSeverities[5]; // "info" .. "critical"

// The rank of a severity, from 0 for "info" to 4 for "critical"; -1 for none
// or an unknown one.
int severityRank(const std::string& severity);

// How much a failure of that severity weighs when hosts are ranked: 1 for
// "info", 2 for "low", 4, 8 and 16 for "critical"; 1 for none.
unsigned severityWeight(const std::string& severity);

} // namespace corehost
