// InstalledPackages: the names of the installed packages, by dpkg's database.
#include "SystemPlugin/cross/InstalledPackages.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TruthValues.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/PackageQuery.h"
#include "utils/Wildcard.h"

#include <string>

namespace SystemPlugin {

TErrorCode InstalledPackages::getVectorResult(PluginSDK::StringVector& result) {
    Trace trace(PluginKit::pluginTracer(),
                "InstalledPackages::getVectorResult(StringVector& result)");
    result.removeAll();
    const wchar_t* ignoreCaseText = getProperty(L"ignoreCase");
    if (ignoreCaseText && !PluginKit::isTruthValue(ignoreCaseText))
        return RC_PROPERTY_VALUE_INVALID;
    const bool ignoreCase = PluginKit::isTrueText(ignoreCaseText);
    const wchar_t* filterText = getProperty(L"filter");
    const std::wstring filter = filterText ? filterText : L"";

    std::shared_ptr<const PackageDatabase> database;
    const TErrorCode code = PackageQuery::load(m_Context, database);
    if (code != RC_SUCCESS)
        return code;
    for (const std::string& name : database->installedNames()) {
        // Package names are ASCII: each byte is one character.
        std::wstring wide(name.begin(), name.end());
        std::wstring pattern = filter;
        std::wstring compared = wide;
        if (!filter.empty() && !utils::matchWildcard(pattern, compared, ignoreCase))
            continue;
        result.addString(wide.c_str());
    }
    return RC_SUCCESS;
}

} // namespace SystemPlugin
