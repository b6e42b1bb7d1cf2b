// InstalledPackages: the names of the installed packages, by dpkg's database.
#include "SystemPlugin/cross/InstalledPackages.h"

#include "SystemPlugin/common/PropertyRows.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TruthProperty.h"
#include "PluginKit/WildcardFilter.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/PackageQuery.h"

#include <string>

namespace SystemPlugin {

TErrorCode InstalledPackages::getVectorResult(PluginSDK::StringVector& result) {
    Trace trace(PluginKit::pluginTracer(),
                "InstalledPackages::getVectorResult(StringVector& result)");
    result.removeAll();
    bool ignoreCase = false;
    if (!PluginKit::readTruthProperty(*this, L"ignoreCase", false, ignoreCase))
        return RC_PROPERTY_VALUE_INVALID;
    const wchar_t* filterText = getProperty(L"filter");
    const bool filtered = filterText && *filterText;
    const PluginKit::WildcardFilter filter(filtered ? filterText : L"", ignoreCase);

    std::shared_ptr<const PackageDatabase> database;
    const TErrorCode code = PackageQuery::load(m_Context, database);
    if (code != RC_SUCCESS)
        return code;
    for (const std::string& name : database->installedNames()) {
        // Package names are ASCII: each byte is one character.
        std::wstring wide(name.begin(), name.end());
        if (filtered && !filter.matches(wide))
            continue;
        result.addString(wide.c_str());
    }
    return RC_SUCCESS;
}

// What InstalledPackages says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {filterRow(), ignoreCaseRow()};

} // namespace

const PluginKit::ExpressionInfo InstalledPackages::kInfo =
    PluginKit::operand(L"InstalledPackages", PluginKit::ResultText::List, kPropertyRows,
                       "names of installed packages, sorted by bytes, each once");

} // namespace SystemPlugin
