// The owning user or group of a path.
#include "SystemPlugin/common/OwnerProbe.h"

#include "PluginKit/PluginTrace.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/AccountNames.h"
#include "SystemPlugin/common/ProbeChecks.h"

#include <string>

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/common/OwnerProbe";

} // namespace

TErrorCode OwnerProbe::getScalarResult(PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(), m_Owner == Owner::User ? "FileOwner::getScalarResult()"
                                                                  : "FileGroup::getScalarResult()");
    result = static_cast<const wchar_t*>(nullptr);
    ProbeChecks checks(*this, trace, kTraceSource);
    checks.requirePath(__LINE__);
    const bool byId = checks.choice(L"form", kOwnerForms, __LINE__) == 1;
    ProbeChecks::Followed file;
    if (!checks.followedStatus(file, __LINE__))
        return checks.code();
    const bool user = m_Owner == Owner::User;
    std::string text = byId   ? std::to_string(user ? file.status.st_uid : file.status.st_gid)
                       : user ? AccountNames::userName(file.status.st_uid)
                              : AccountNames::groupName(file.status.st_gid);
    result = text.c_str();
    return RC_SUCCESS;
}

} // namespace SystemPlugin
