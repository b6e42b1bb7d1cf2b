// Severity names, ranks and weights.
#include "cli/Severity.h"

namespace corehost {

const char* const kSeverities[5] = {"info", "low", "medium", "high", "critical"};

int severityRank(const std::string& severity) {
    for (int rank = 0; rank < 5; ++rank)
        if (severity == kSeverities[rank])
            return rank;
    return -1;
}

unsigned severityWeight(const std::string& severity) {
    const int rank = severityRank(severity);
    return rank < 0 ? 1u : 1u << rank;
}

} // namespace corehost
