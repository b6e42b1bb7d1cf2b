// What MountOptions and MountType share: their properties checked in order,
// then the mount that holds the path, from the process's mount table.
#pragma once

#include "PluginSDK/Expression.h"
#include "QxLogWrapper/Trace.h"
#include "base/MountTable.h"

namespace SystemPlugin {

class MountLookup {
public:
    // The mount that holds "absolutePath" (looked up by its text; the path is
    // never touched): 0 with `mount` filled; -12001 without "absolutePath";
    // -12002 when "network" is neither "true" nor "false"; -12010 for a path
    // on no mount (a relative one, or one without a UTF-8 form); -400 when the
    // table could not be read whole; -12024 for a network or FUSE mount while
    // "network" is not "true". Failures are recorded through `trace`.
    static TErrorCode find(const PluginSDK::Expression& probe, Trace& trace,
                           base::MountAnswer& mount);
};

} // namespace SystemPlugin
