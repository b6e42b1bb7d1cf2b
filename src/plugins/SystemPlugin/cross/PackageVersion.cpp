// PackageVersion: the installed version of a package, by dpkg's database.
#include "SystemPlugin/cross/PackageVersion.h"

#include "PluginKit/PluginTrace.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/PackageQuery.h"
#include "base/Utf8.h"

#include <algorithm>

namespace SystemPlugin {

TErrorCode PackageVersion::getScalarResult(PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(), "PackageVersion::getScalarResult(String& result)");
    result = static_cast<const wchar_t*>(nullptr);
    std::shared_ptr<const PackageDatabase> database;
    std::vector<const PackageInstance*> instances;
    const TErrorCode code = PackageQuery::resolve(*this, trace, m_Context, database, instances);
    if (code != RC_SUCCESS)
        return code;
    if (instances.empty())
        return RC_PACKAGE_NOT_INSTALLED;
    const std::string& version = instances.front()->version;
    if (std::any_of(instances.begin(), instances.end(),
                    [&](const PackageInstance* other) { return other->version != version; }))
        return RC_PACKAGE_AMBIGUOUS;
    std::wstring wide;
    base::decodeUtf8(version.data(), version.size(), wide);
    result = wide.c_str();
    return RC_SUCCESS;
}

// What PackageVersion says of itself.

const PluginKit::ExpressionInfo PackageVersion::kInfo =
    PluginKit::operand(L"PackageVersion", PluginKit::ResultText::Any, kPackagePropertyRows,
                       "the installed version (-12017 none, -12023 ambiguous)");

} // namespace SystemPlugin
