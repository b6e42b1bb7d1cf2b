// Prints what the audit rules reader makes of its input, for the suites that
// compare it with auditctl and augenrules:
//   load FILE...   each FILE loaded as `auditctl -R` loads it: "refused" or
//                  its rules' normal forms, then a line "--"
//   join DIR       DIR's rules files joined as augenrules joins them
//   loaded         the kernel's rules, as `auditctl -l` lists them
//   order NAME...  the names in `ls -v` order
#include "PluginKit/FileReader.h"
#include "SystemPlugin/common/AuditKernelRules.h"
#include "SystemPlugin/common/AuditRuleSet.h"
#include "SystemPlugin/common/AuditRulesJoin.h"
#include "SystemPlugin/common/FileVersionOrder.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

using namespace SystemPlugin;

namespace {

int load(int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
        std::string text;
        AuditRuleSet rules(machineArch());
        std::size_t line = 0;
        std::string reason;
        if (!PluginKit::FileReader::readFile(argv[i], text).ok())
            std::cout << "unreadable\n";
        else if (!rules.load(text, line, reason))
            std::cout << "refused " << line << ": " << reason << '\n';
        else
            for (const std::string& rule : rules.texts())
                std::cout << rule << '\n';
        std::cout << "--\n";
    }
    return 0;
}

int join(const std::string& directory) {
    std::vector<std::string> files;
    std::string text;
    PluginKit::FileOutcome outcome = AuditRulesJoin::listDirectory(directory, files);
    for (const std::string& file : files)
        if (outcome.ok())
            outcome = AuditRulesJoin::append(file, false, text);
    std::string rules;
    if (!outcome.ok() || !AuditRulesJoin::join(text, AuditRulesJoin::installedAwk(), rules))
        return 1;
    std::cout << rules;
    return 0;
}

int loaded() {
    std::vector<AuditRule> rules;
    int enabled = 0;
    int error = 0;
    const AuditKernelRules::Outcome outcome = AuditKernelRules::read(rules, enabled, error);
    if (outcome != AuditKernelRules::Outcome::Read) {
        std::cout << "outcome " << static_cast<int>(outcome) << " errno " << error << '\n';
        return 1;
    }
    AuditRuleSet set(machineArch());
    for (AuditRule& rule : rules)
        set.add(std::move(rule));
    for (const std::string& rule : set.texts())
        std::cout << rule << '\n';
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "load")
        return load(argc, argv);
    if (mode == "join" && argc == 3)
        return join(argv[2]);
    if (mode == "loaded")
        return loaded();
    if (mode == "order") {
        std::vector<std::string> names(argv + 2, argv + argc);
        std::sort(names.begin(), names.end(), FileVersionOrder());
        for (const std::string& name : names)
            std::cout << name << '\n';
        return 0;
    }
    std::cerr << "usage: audit_rules_driver load FILE...|join DIR|loaded|order NAME...\n";
    return 2;
}
