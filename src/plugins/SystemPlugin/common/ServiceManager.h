// Questions to the running systemd service manager, through the bus module:
// asked only where systemd runs (/run/systemd/system is a directory, as
// sd_booted() tells), bounded to 5 s in all, and not asked again for 30 s
// after a manager let that time pass, so that a hung manager costs a scan one
// wait rather than one per rule.
#pragma once

#include "PluginSDK/Types.h"

#include <string>

namespace SystemPlugin {

class ServiceManager {
public:
    static constexpr unsigned long long kTimeoutUsec = 5000000;
    static constexpr unsigned long long kQuietUsec = 30000000;

    // The ActiveState of `unit` ("active", "inactive", "failed", ...): 0 with
    // `state` set; -12026 without a manager; -12027 without an answer in
    // time; -12010 for a unit it does not know (LoadState "not-found");
    // -12020 when it refuses to tell; -103 without the bus module. `detail`
    // says what happened.
    static TErrorCode activeState(const std::string& unit, std::string& state, std::string& detail);
};

} // namespace SystemPlugin
