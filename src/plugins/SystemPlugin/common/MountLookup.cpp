// The mount of a probe's path, with the checks of its properties.
#include "SystemPlugin/common/MountLookup.h"

#include "PluginKit/Mounts.h"
#include "PluginKit/PluginTrace.h"
#include "PluginKit/TruthProperty.h"
#include "SystemPlugin/ResultCodes.h"

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/common/MountLookup";

} // namespace

TErrorCode MountLookup::find(const PluginSDK::Expression& probe, Trace& trace,
                             base::MountAnswer& mount) {
    const wchar_t* path = probe.getProperty(L"absolutePath");
    if (!path) {
        PK_TRACE_ERROR(trace, "Unspecified absolutePath!");
        return RC_PROPERTY_MISSING;
    }
    bool network = false;
    if (!PluginKit::readTruthProperty(probe, L"network", false, network)) {
        PK_TRACE_ERROR(trace, "Not a truth value (\"true\" or \"false\"): network");
        return RC_PROPERTY_VALUE_INVALID;
    }
    const TErrorCode rc = PluginKit::Mounts::ofProcess().find(path, mount);
    if (rc == RC_NOT_FOUND) {
        PK_TRACE_ERROR(trace, "No mount holds the path (not absolute?)");
        return rc;
    }
    if (rc != RC_SUCCESS) {
        PK_TRACE_ERROR(trace, "The mount table cannot be read");
        return rc;
    }
    if (!network && base::MountTable::isNetworkType(mount.type)) {
        PK_TRACE_ERROR(
            trace, ("On a network or FUSE file system (\"network\" is not \"true\"): " + mount.type)
                       .c_str());
        return RC_NETWORK_FILE_SYSTEM;
    }
    return RC_SUCCESS;
}

} // namespace SystemPlugin
