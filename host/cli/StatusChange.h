// The rules whose status differs between two reports of the same host.
#pragma once

#include "cli/HostRecord.h"

#include <string>
#include <vector>

namespace corehost {

struct StatusChange {
    std::string id;
    std::string before; // a status name, or empty when the earlier report lacks the rule
    std::string after;  // a status name, or empty when the later report lacks the rule
    bool worse = false; // it did not fail or err before, and fails or errs now
    const RuleRecord* rule = nullptr; // in the later report, or the earlier one when it left
};

// The changes from `before` to `after`: the rules of `after` in order, then
// those only `before` has.
std::vector<StatusChange> compareRules(const HostRecord& before, const HostRecord& after);

} // namespace corehost
