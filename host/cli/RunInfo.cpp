// The run's machine, start time and versions, read once when a run starts.
#include "cli/RunInfo.h"

#include <ctime>
#include <unistd.h>

namespace corehost {

const char* corehostVersion() {
    return COREHOST_VERSION;
}

RunInfo RunInfo::collect(PluginSet& plugins, const std::vector<Document>& documents) {
    RunInfo info;
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) == 0)
        info.host = host;
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    char started[32] = {};
    if (::gmtime_r(&now, &utc))
        std::strftime(started, sizeof started, "%Y-%m-%dT%H:%M:%SZ", &utc);
    info.started = started;
    info.corehostVersion = corehost::corehostVersion();
    for (const std::shared_ptr<PluginModule>& module : plugins.modules()) {
        const PluginSDK::PluginVersion version = module->plugin().getVersion();
        info.plugins.emplace_back(module->name(), std::to_string(version.major) + '.' +
                                                      std::to_string(version.minor) + '.' +
                                                      std::to_string(version.build) + '.' +
                                                      std::to_string(version.revision));
    }
    for (const Document& document : documents)
        info.documents.push_back(document.source);
    return info;
}

} // namespace corehost
