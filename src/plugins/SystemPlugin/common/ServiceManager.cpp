// Questions to the running systemd service manager.
#include "SystemPlugin/common/ServiceManager.h"

#include "SystemPlugin/BusModule.h"
#include "SystemPlugin/ResultCodes.h"

#include <atomic>
#include <ctime>

#include <sys/stat.h>
#include <unistd.h>

namespace SystemPlugin {

namespace {

unsigned long long monotonicUsec() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<unsigned long long>(now.tv_sec) * 1000000u +
           static_cast<unsigned long long>(now.tv_nsec) / 1000u;
}

// Until when a manager that did not answer is not asked again.
std::atomic<unsigned long long> g_QuietUntil{0};

} // namespace

TErrorCode ServiceManager::activeState(const std::string& unit, std::string& state,
                                       std::string& detail) {
    struct stat status {};
    if (::lstat("/run/systemd/system", &status) != 0 || !S_ISDIR(status.st_mode)) {
        detail = "systemd does not run here (no /run/systemd/system)";
        return RC_NOT_AVAILABLE;
    }
    if (monotonicUsec() < g_QuietUntil.load()) {
        detail = "the service manager did not answer in time a moment ago";
        return RC_NO_ANSWER_IN_TIME;
    }
    const SystemPluginBusFunctions* const functions = BusModule::functions(detail);
    if (!functions)
        return RC_INTERNAL_FAILURE;
    char answer[256] = "", why[512] = "";
    const int outcome = functions->activeState(unit.c_str(), kTimeoutUsec, ::geteuid() == 0, answer,
                                               sizeof answer, why, sizeof why);
    detail = why;
    switch (outcome) {
    case SYSTEMPLUGIN_BUS_ANSWERED:
        state = answer;
        return RC_SUCCESS;
    case SYSTEMPLUGIN_BUS_NO_ANSWER:
        g_QuietUntil.store(monotonicUsec() + kQuietUsec);
        return RC_NO_ANSWER_IN_TIME;
    case SYSTEMPLUGIN_BUS_NO_UNIT:
        return RC_NOT_FOUND;
    case SYSTEMPLUGIN_BUS_DENIED:
        return RC_UNREADABLE;
    default:
        return RC_NOT_AVAILABLE;
    }
}

} // namespace SystemPlugin
