// What Sysctl reads: the current value of one kernel parameter.
#pragma once

#include "PluginSDK/Expression.h"
#include "SystemPlugin/common/ProbeChecks.h"

#include <string>

namespace SystemPlugin {

class SysctlParameter {
public:
    // Failures are recorded in `checks`, the first one's code kept.
    explicit SysctlParameter(ProbeChecks& checks) : m_Checks(checks) {}

    // Where the parameters are (the host process's namespaces).
    static constexpr const char* kRoot = "/proc/sys/";

    // Required "name" (-12001); -12002 for a name that escapes /proc/sys or
    // names several parameters.
    TErrorCode check(const PluginSDK::Expression& node);

    // The value as sysctl prints it. -12016 when no such parameter exists (a
    // directory is none), -12020 when it cannot be read.
    TErrorCode read(std::string& value);

private:
    ProbeChecks& m_Checks;
    std::string m_Path;
};

} // namespace SystemPlugin
