// What AuditRules answers: the audit rules of rules.d joined as augenrules
// joins them (or of the files given), loaded as `auditctl -R` loads them, or
// the kernel's loaded list; each in its normal form.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/Expression.h"
#include "QxLogWrapper/Trace.h"

#include <string>
#include <vector>

namespace SystemPlugin {

class AuditRulesQuery {
public:
    // The values of "source": rules.d (the default) or the kernel's list.
    static constexpr const wchar_t* kSources[] = {L"files", L"loaded"};
    // The source that takes no "file".
    static constexpr const wchar_t* kLoadedSource[] = {kSources[1]};
    // The rules directory augenrules reads.
    static constexpr const char* kRulesDirectory = "/etc/audit/rules.d";
    // The most rules one answer holds.
    static constexpr std::size_t kMaxRules = 100000;

    // Checks the properties of `node` ("source", "file", "network") and
    // answers with its records going to `trace`, naming `source`.
    static TErrorCode run(const PluginSDK::Expression& node, Trace& trace, const char* source,
                          std::vector<std::string>& texts);
};

} // namespace SystemPlugin
