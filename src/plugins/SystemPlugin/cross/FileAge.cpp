// The "FileAge" expression.
#include "SystemPlugin/cross/FileAge.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "PluginKit/PluginTrace.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ProbeChecks.h"

#include <ctime>
#include <string>

namespace SystemPlugin {

namespace {

constexpr const wchar_t* kAgeFields[] = {L"mtime", L"ctime"};

} // namespace

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/FileAge";

} // namespace

TErrorCode FileAge::getScalarResult(PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(), "FileAge::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    ProbeChecks checks(*this, trace, kTraceSource);
    checks.requirePath(__LINE__);
    const bool changeTime = checks.choice(L"field", kAgeFields, __LINE__) == 1;
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

// What FileAge says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    pathRow(), choiceRow(L"field", kAgeFields, "default `mtime`"), networkRow()};

} // namespace

const PluginKit::ExpressionInfo FileAge::kInfo =
    PluginKit::operand(L"FileAge", PluginKit::ResultText::Number, kPropertyRows,
                       "whole seconds from the time stamp to now, negative for a future one");

} // namespace SystemPlugin
