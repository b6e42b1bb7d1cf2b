// The audit rules the running kernel holds, read over netlink as
// `auditctl -l` reads them (AUDIT_LIST_RULES; no audit daemon needed).
#pragma once

#include "SystemPlugin/common/AuditRule.h"

#include <vector>

namespace SystemPlugin {

class AuditKernelRules {
public:
    enum class Outcome {
        Read,
        NotPermitted, // no CAP_AUDIT_CONTROL (EPERM, EACCES)
        Unavailable,  // no audit support here, or auditing is disabled
        TimedOut,     // no answer within 5 s
        Failed,       // any other failure, or an answer that makes no sense
    };

    // The rules in the kernel's order and the kernel's enabled flag (1, or 2
    // when the rules are locked); `error` holds the errno value behind a
    // failure, for the trace. A kernel with auditing disabled (0) is
    // Unavailable: the rules it holds audit nothing.
    static Outcome read(std::vector<AuditRule>& rules, int& enabled, int& error);
};

} // namespace SystemPlugin
