// MountOptions: the options of the mount that holds a path.
#include "SystemPlugin/cross/MountOptions.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "PluginKit/PluginTrace.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/MountLookup.h"
#include "base/Utf8.h"

namespace SystemPlugin {

TErrorCode MountOptions::getVectorResult(PluginSDK::StringVector& result) {
    result.removeAll();
    Trace trace(PluginKit::pluginTracer(),
                "MountOptions::getVectorResult(PluginSDK::StringVector & result)");
    base::MountAnswer mount;
    const TErrorCode rc = MountLookup::find(*this, trace, mount);
    if (rc != RC_SUCCESS)
        return rc;
    PluginSDK::StringVector options;
    for (const std::string& option : mount.options) {
        std::wstring wide;
        base::decodeUtf8(option.data(), option.size(), wide);
        options.addString(wide.c_str());
    }
    result = std::move(options);
    return RC_SUCCESS;
}

// What MountOptions says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {pathRow()};

} // namespace

const PluginKit::ExpressionInfo MountOptions::kInfo =
    PluginKit::operand(L"MountOptions", PluginKit::ResultText::List, kPropertyRows,
                       "the options of the mount holding the path, as `findmnt -o OPTIONS`");

} // namespace SystemPlugin
