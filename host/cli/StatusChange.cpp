// Rules matched by id between two reports.
#include "cli/StatusChange.h"

#include <unordered_map>

namespace corehost {

namespace {

bool failing(const std::string& status) {
    return status == "fail" || status == "error";
}

} // namespace

std::vector<StatusChange> compareRules(const HostRecord& before, const HostRecord& after) {
    std::unordered_map<std::string, const RuleRecord*> earlier;
    for (const RuleRecord& rule : before.rules)
        earlier.emplace(rule.id, &rule);
    std::vector<StatusChange> changes;
    for (const RuleRecord& rule : after.rules) {
        const auto found = earlier.find(rule.id);
        const std::string old = found == earlier.end() ? std::string() : found->second->status;
        if (found != earlier.end())
            earlier.erase(found);
        if (old == rule.status)
            continue;
        changes.push_back(
            StatusChange{rule.id, old, rule.status, !failing(old) && failing(rule.status), &rule});
    }
    for (const RuleRecord& rule : before.rules)
        if (earlier.count(rule.id) != 0)
            changes.push_back(StatusChange{rule.id, rule.status, std::string(), false, &rule});
    return changes;
}

} // namespace corehost
