// Two reports read back and their rules compared by id.
#include "cli/DiffCommand.h"

#include "cli/ExitCodes.h"
#include "cli/HostRecord.h"
#include "cli/StatusChange.h"
#include "eval/MessageText.h"

#include <nlohmann/json.hpp>

namespace corehost {

namespace {

std::string describeStatus(const std::string& status) {
    return status.empty() ? "(absent)" : status;
}

// A status name, or null for a rule the report lacks.
nlohmann::json statusOrNull(const std::string& status) {
    return status.empty() ? nlohmann::json(nullptr) : nlohmann::json(status);
}

} // namespace

int DiffCommand::run(const std::string& oldPath, const std::string& newPath, bool json) {
    HostRecord reports[2];
    const std::string* paths[2] = {&oldPath, &newPath};
    for (int i = 0; i < 2; ++i) {
        std::string error;
        if (!readHostRecordFile(*paths[i], reports[i], error)) {
            m_Err << "corehost: " << escapeText(*paths[i]) << ": " << error << '\n';
            return kExitUsage;
        }
        if (!reports[i].error.empty()) {
            m_Err << "corehost: " << escapeText(*paths[i])
                  << ": the report holds no rules: " << escapeText(reports[i].error) << '\n';
            return kExitUsage;
        }
    }
    const std::vector<StatusChange> changes = compareRules(reports[0], reports[1]);
    std::size_t worse = 0;
    for (const StatusChange& change : changes)
        worse += change.worse ? 1 : 0;
    if (json) {
        nlohmann::json out = nlohmann::json::object();
        out["changes"] = nlohmann::json::array();
        for (const StatusChange& change : changes) {
            nlohmann::json entry = {{"id", change.id},
                                    {"before", statusOrNull(change.before)},
                                    {"after", statusOrNull(change.after)},
                                    {"worse", change.worse}};
            if (!change.after.empty() && !change.rule->reason.empty())
                entry["reason"] = change.rule->reason;
            out["changes"].push_back(entry);
        }
        out["worse"] = worse;
        m_Out << out.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    } else {
        for (const StatusChange& change : changes) {
            m_Out << '[' << escapeText(change.id, ']') << "] " << describeStatus(change.before)
                  << " -> " << describeStatus(change.after) << (change.worse ? " (worse)" : "");
            if (!change.after.empty() && !change.rule->reason.empty())
                m_Out << ": " << escapeText(change.rule->reason);
            m_Out << '\n';
        }
        m_Err << "corehost: " << changes.size() << (changes.size() == 1 ? " rule" : " rules")
              << " changed, " << worse << " got worse\n";
    }
    return worse == 0 ? kExitSuccess : kExitExpressionFailed;
}

} // namespace corehost
