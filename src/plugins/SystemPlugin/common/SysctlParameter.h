// What Sysctl reads: the current value of one kernel parameter.
#pragma once

#include "PluginKit/PropertyChecks.h"
#include "PluginSDK/Expression.h"

#include <string>

namespace SystemPlugin {

class SysctlParameter {
public:
    // Missing properties and files that cannot be read are traced to `trace`.
    explicit SysctlParameter(const PluginKit::TraceTarget& trace) : m_Trace(trace) {}

    // Where the parameters are (the host process's namespaces).
    static constexpr const char* kRoot = "/proc/sys/";

    // Required "name" (-12001); -12002 for a name that escapes /proc/sys or
    // names several parameters.
    TErrorCode check(const PluginSDK::Expression& node);

    // The value as sysctl prints it. -12016 when no such parameter exists (a
    // directory is none), -12020 when it cannot be read.
    TErrorCode read(std::string& value) const;

private:
    PluginKit::TraceTarget m_Trace;
    std::string m_Path;
};

} // namespace SystemPlugin
