// PackageFiles: the files dpkg installed, as its file lists and diversions record them.
#include "SystemPlugin/cross/PackageFiles.h"

#include "PluginKit/PluginTrace.h"
#include "PluginKit/TextLines.h"
#include "SystemPlugin/PluginContext.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/PackageFileList.h"
#include "SystemPlugin/common/PackageQuery.h"

#include <string>
#include <vector>

namespace SystemPlugin {

namespace {

constexpr char kTraceSource[] = "src/plugins/SystemPlugin/cross/PackageFiles";

} // namespace

TErrorCode PackageFiles::getVectorResult(PluginSDK::StringVector& result) {
    Trace trace(PluginKit::pluginTracer(), "PackageFiles::getVectorResult(StringVector& result)");
    result.removeAll();
    PackageQuery query;
    TErrorCode code = query.read(*this, trace, false);
    if (code != RC_SUCCESS)
        return code;
    std::shared_ptr<const PackageDatabase> database;
    std::vector<const PackageInstance*> instances;
    code = query.installed(m_Context, database, instances);
    if (code != RC_SUCCESS)
        return code;
    if (instances.empty() && getProperty(L"package") != nullptr)
        return RC_PACKAGE_NOT_INSTALLED;

    std::vector<std::string> paths;
    std::string problem;
    switch (PackageFileList::read(m_Context.dpkgAdminDir(), instances, paths, problem)) {
    case PackageFileList::Outcome::Ok:
        break;
    case PackageFileList::Outcome::TooLarge:
        PK_TRACE_ERROR(trace, ("Over the limit: " + problem).c_str());
        return RC_OVER_LIMIT;
    case PackageFileList::Outcome::Unreadable:
        PK_TRACE_ERROR(trace, ("Cannot read " + problem).c_str());
        return RC_PACKAGE_DATABASE_UNREADABLE;
    }
    for (const std::string& path : paths)
        result.addString(PluginKit::TextLines::decode(path).c_str());
    return RC_SUCCESS;
}

// What PackageFiles says of itself.

namespace {

constexpr PluginKit::PropertyInfo kPropertyRows[] = {
    PluginKit::shaped(PluginKit::optional(L"package", "a name, or `name:arch`; without it "
                                                      "every installed package"),
                      "[A-Za-z0-9+._-]+(:[A-Za-z0-9+._-]+)?", RC_PROPERTY_VALUE_INVALID),
    kPackagePropertyRows[1]};

} // namespace

const PluginKit::ExpressionInfo PackageFiles::kInfo = PluginKit::operand(
    L"PackageFiles", PluginKit::ResultText::List, kPropertyRows,
    "paths installed by the packages (diverted, directories resolved), sorted, each once");

} // namespace SystemPlugin
