// MountType: the file-system type of the mount that holds a path.
#include "SystemPlugin/cross/MountType.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "PluginKit/PluginTrace.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/MountLookup.h"
#include "base/Utf8.h"

namespace SystemPlugin {

TErrorCode MountType::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    Trace trace(PluginKit::pluginTracer(),
                "MountType::getScalarResult(PluginSDK::String & result)");
    base::MountAnswer mount;
    const TErrorCode rc = MountLookup::find(*this, trace, mount);
    if (rc != RC_SUCCESS)
        return rc;
    std::wstring type;
    base::decodeUtf8(mount.type.data(), mount.type.size(), type);
    result.str() = std::move(type);
    return RC_SUCCESS;
}

// What MountType says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {pathRow()};

} // namespace

const PluginKit::ExpressionInfo MountType::kInfo = PluginKit::operand(
    L"MountType", PluginKit::ResultText::Any, kPropertyRows, "the file-system type of that mount");

} // namespace SystemPlugin
