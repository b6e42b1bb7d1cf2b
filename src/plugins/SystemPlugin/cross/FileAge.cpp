// The "FileAge" expression.
#include "SystemPlugin/cross/FileAge.h"

#include "PluginKit/PluginTrace.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ProbeChecks.h"

#include <ctime>
#include <string>

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/FileAge";

} // namespace

TErrorCode FileAge::getScalarResult(PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(), "FileAge::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    ProbeChecks checks(*this, trace, kTraceSource);
    checks.requirePath(__LINE__);
    const bool changeTime = checks.choice(L"field", {L"mtime", L"ctime"}, __LINE__) == 1;
    std::string path;
    struct stat status {};
    if (!checks.pathStatus(true, path, status, __LINE__))
        return checks.code();
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    // Whole seconds of both, as stat(1) and FileInfo give them.
    const long long stamp = changeTime ? status.st_ctim.tv_sec : status.st_mtim.tv_sec;
    result.str() = std::to_wstring(static_cast<long long>(now.tv_sec) - stamp);
    return RC_SUCCESS;
}

} // namespace SystemPlugin
