// What AuditRules answers.
#include "SystemPlugin/common/AuditRulesQuery.h"

#include "PluginKit/PathList.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/AuditKernelRules.h"
#include "SystemPlugin/common/AuditRuleSet.h"
#include "SystemPlugin/common/AuditRulesJoin.h"
#include "SystemPlugin/common/ProbeChecks.h"
#include "SystemPlugin/common/PropertyText.h"

#include <cstring>

namespace SystemPlugin {

namespace {

constexpr int kSourceFiles = 0;

// The concatenated content of the files augenrules (or "file") names.
std::string gather(const PluginSDK::Expression& node, ProbeChecks& checks, int line) {
    std::string text;
    std::vector<std::string> files;
    const wchar_t* paths = node.getProperty(L"file");
    PluginKit::FileOutcome outcome;
    std::string named = paths ? utf8Of(paths) : AuditRulesQuery::kRulesDirectory;
    if (paths) {
        for (const std::string& part : PluginKit::PathList::split(named))
            checks.checkNetwork(part, line);
        if (checks.failed())
            return text;
        outcome = PluginKit::PathList::expand(named, files, checks.networkAllowed());
    } else {
        checks.checkNetwork(named, line);
        if (checks.failed())
            return text;
        outcome = AuditRulesJoin::listDirectory(named, files);
    }
    for (std::size_t i = 0; outcome.ok() && i < files.size(); ++i) {
        named = files[i];
        checks.checkNetwork(named, line);
        if (checks.failed())
            return text;
        outcome = AuditRulesJoin::append(named, paths != nullptr, text);
    }
    if (!outcome.ok())
        checks.fileFailure(outcome, named, line);
    return text;
}

TErrorCode fromFiles(const PluginSDK::Expression& node, ProbeChecks& checks, int line,
                     AuditRuleSet& rules) {
    const std::string text = gather(node, checks, line);
    if (checks.failed())
        return checks.code();
    std::string joined;
    if (!AuditRulesJoin::join(text, AuditRulesJoin::installedAwk(), joined)) {
        checks.fail(RC_NOT_AVAILABLE,
                    "The awk augenrules runs is neither gawk nor mawk, and the two read these "
                    "files differently",
                    line);
        return checks.code();
    }
    std::size_t failedLine = 0;
    std::string reason;
    if (!rules.load(joined, failedLine, reason)) {
        const std::string message = "auditctl stops at line " + std::to_string(failedLine) +
                                    " of the joined rules: " + reason;
        checks.fail(RC_REFUSED_BY_PROGRAM, message.c_str(), line);
    }
    return checks.code();
}

TErrorCode fromKernel(ProbeChecks& checks, int line, AuditRuleSet& set) {
    checks.requireRunningSystem("the kernel's audit rules", line);
    if (checks.failed())
        return checks.code();
    std::vector<AuditRule> rules;
    int enabled = 0;
    int error = 0;
    const AuditKernelRules::Outcome outcome = AuditKernelRules::read(rules, enabled, error);
    const std::string cause = error ? std::string(": ") + std::strerror(error) : std::string();
    switch (outcome) {
    case AuditKernelRules::Outcome::Read:
        break;
    case AuditKernelRules::Outcome::NotPermitted:
        checks.fail(RC_UNREADABLE, ("The kernel's audit rules cannot be listed" + cause).c_str(),
                    line);
        return checks.code();
    case AuditKernelRules::Outcome::Unavailable:
        checks.fail(RC_NOT_AVAILABLE, ("Auditing is disabled or not available" + cause).c_str(),
                    line);
        return checks.code();
    case AuditKernelRules::Outcome::TimedOut:
        checks.fail(RC_NO_ANSWER_IN_TIME, "The kernel did not answer within 5 s", line);
        return checks.code();
    case AuditKernelRules::Outcome::Failed:
        checks.fail(RC_UNREADABLE, ("The kernel's audit rules could not be read" + cause).c_str(),
                    line);
        return checks.code();
    }
    for (AuditRule& rule : rules)
        set.add(std::move(rule));
    set.setEnabled(enabled);
    return RC_SUCCESS;
}

} // namespace

TErrorCode AuditRulesQuery::run(const PluginSDK::Expression& node, Trace& trace, const char* source,
                                std::vector<std::string>& texts) {
    ProbeChecks checks(node, trace, source);
    const std::size_t from = checks.choice(L"source", kSources, __LINE__);
    checks.readNetwork(__LINE__);
    if (from != kSourceFiles && node.getProperty(L"file"))
        checks.fail(RC_PROPERTY_VALUE_INVALID, "\"file\" is read only with \"source\" \"files\"",
                    __LINE__);
    if (checks.failed())
        return checks.code();
    AuditRuleSet rules(machineArch());
    const TErrorCode code = from == kSourceFiles ? fromFiles(node, checks, __LINE__, rules)
                                                 : fromKernel(checks, __LINE__, rules);
    if (code != RC_SUCCESS)
        return code;
    if (rules.size() > kMaxRules) {
        checks.fail(RC_OVER_LIMIT, "More than 100,000 audit rules", __LINE__);
        return checks.code();
    }
    texts = rules.texts();
    return RC_SUCCESS;
}

} // namespace SystemPlugin
