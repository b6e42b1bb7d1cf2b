// The mount of a probe's path, with the checks of its properties.
#include "SystemPlugin/common/MountLookup.h"

#include "PluginKit/Mounts.h"
#include "PluginKit/PluginTrace.h"
#include "SystemPlugin/ResultCodes.h"
#include "base/ScanRoot.h"

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
    // A scanned image has no mount table of its own, and the host's would
    // answer for the host.
    if (base::ScanRoot::active()) {
        PK_TRACE_ERROR(trace, "The mount table is not available in a scanned image");
        return RC_NOT_AVAILABLE;
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
    return RC_SUCCESS;
}

} // namespace SystemPlugin
