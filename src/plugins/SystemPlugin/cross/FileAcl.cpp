// The "FileAcl" expression.
#include "SystemPlugin/cross/FileAcl.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TruthValues.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ProbeChecks.h"

#include <cerrno>

#include <acl/libacl.h>

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/FileAcl";

} // namespace

TErrorCode FileAcl::getScalarResult(PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(), "FileAcl::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    ProbeChecks checks(*this, trace, kTraceSource);
    checks.requirePath(__LINE__);
    ProbeChecks::Followed file;
    if (!checks.followedStatus(file, __LINE__))
        return checks.code();
    // An access ACL with more than the three entries of the mode bits, or a
    // default ACL (which only a directory has); read from extended
    // attributes, without opening the path.
    const int extended = file.follow ? ::acl_extended_file(file.path.c_str())
                                     : ::acl_extended_file_nofollow(file.path.c_str());
    if (extended < 0 && errno != ENOTSUP) {
        checks.fileFailure(PluginKit::FileOutcome::fromErrno(errno), file.path, __LINE__);
        return checks.code();
    }
    // A file system without ACLs (ENOTSUP) holds none.
    result = extended > 0 ? PluginKit::kTrue : PluginKit::kFalse;
    return RC_SUCCESS;
}

// What FileAcl says of itself.

const PluginKit::ExpressionInfo FileAcl::kInfo =
    PluginKit::operand(L"FileAcl", PluginKit::ResultText::Truth, kFollowedPathPropertyRows,
                       "`true` when an ACL beyond the base entries (or a default ACL) is there");

} // namespace SystemPlugin
