// The "FileMode" expression.
#include "SystemPlugin/cross/FileMode.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "PluginKit/PluginTrace.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ProbeChecks.h"

#include <cstdio>

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/FileMode";

} // namespace

TErrorCode FileMode::getScalarResult(PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(), "FileMode::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    ProbeChecks checks(*this, trace, kTraceSource);
    checks.requirePath(__LINE__);
    ProbeChecks::Followed file;
    if (!checks.followedStatus(file, __LINE__))
        return checks.code();
    // Permission bits with set-user-ID, set-group-ID and sticky, of any type.
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04o",
                  static_cast<unsigned>(file.status.st_mode & 07777));
    result = digits;
    return RC_SUCCESS;
}

// What FileMode says of itself.

const PluginKit::ExpressionInfo FileMode::kInfo =
    PluginKit::operand(L"FileMode", PluginKit::ResultText::OctalMode, kFollowedPathPropertyRows,
                       "four octal digits of the permission bits: `0640`, `4755`, `1777`");

} // namespace SystemPlugin
