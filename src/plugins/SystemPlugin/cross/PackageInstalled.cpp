// PackageInstalled: whether a package's files are on disk, by dpkg's database.
#include "SystemPlugin/cross/PackageInstalled.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TruthValues.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/PackageQuery.h"

namespace SystemPlugin {

TErrorCode PackageInstalled::getScalarResult(PluginSDK::String& result) {
    Trace trace(PluginKit::pluginTracer(), "PackageInstalled::getScalarResult(String& result)");
    result = static_cast<const wchar_t*>(nullptr);
    std::shared_ptr<const PackageDatabase> database;
    std::vector<const PackageInstance*> instances;
    const TErrorCode code = PackageQuery::resolve(*this, trace, m_Context, database, instances);
    if (code == RC_SUCCESS)
        result = instances.empty() ? PluginKit::kFalse : PluginKit::kTrue;
    return code;
}

// What PackageInstalled says of itself.

const PluginKit::ExpressionInfo PackageInstalled::kInfo = PluginKit::operand(
    L"PackageInstalled", PluginKit::ResultText::Truth, kPackagePropertyRows,
    "`true` when an instance is installed (not `not-installed`, `config-files`)");

} // namespace SystemPlugin
