// The "LinkTarget" expression.
#include "SystemPlugin/cross/LinkTarget.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ProbeChecks.h"

#include <string>

#include <unistd.h>

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/LinkTarget";

} // namespace

TErrorCode LinkTarget::getScalarResult(PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(),
                "LinkTarget::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    ProbeChecks checks(*this, trace, kTraceSource);
    checks.requirePath(__LINE__);
    std::string path;
    struct stat status {};
    if (!checks.pathStatus(false, path, status, __LINE__))
        return checks.code();
    if (!S_ISLNK(status.st_mode)) {
        checks.fileFailure(PluginKit::FileOutcome::of(PluginKit::FileError::WrongKind), path,
                           __LINE__);
        return checks.code();
    }
    // The size lstat reports can be stale or 0 (procfs): grow until the
    // target fits with room to spare.
    std::string target(static_cast<std::size_t>(status.st_size) + 1, '\0');
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            checks.fileFailure(PluginKit::FileOutcome::fromErrno(errno), path, __LINE__);
            return checks.code();
        }
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            break;
        }
        target.resize(target.size() * 2);
    }
    result.str() = PluginKit::TextLines::decode(target);
    return RC_SUCCESS;
}

// What LinkTarget says of itself.

const PluginKit::ExpressionInfo LinkTarget::kInfo =
    PluginKit::operand(L"LinkTarget", PluginKit::ResultText::Any, kPathPropertyRows,
                       "the target of a symbolic link as stored");

} // namespace SystemPlugin
