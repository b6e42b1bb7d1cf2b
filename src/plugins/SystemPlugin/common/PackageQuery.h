// The package a node asks about ("package", perhaps written name:arch, and "architecture"),
// and the installed instances of it in the plug-in instance's database.
#pragma once

#include "PluginSDK/Expression.h"
#include "QxLogWrapper/Trace.h"
#include "SystemPlugin/common/PackageDatabase.h"
#include "SystemPlugin/common/PropertyRows.h"

#include <memory>
#include <string>
#include <vector>

namespace SystemPlugin {

// The package and architecture of PackageInstalled and PackageVersion.
inline constexpr PluginKit::PropertyInfo kPackagePropertyRows[] = {
    PluginKit::shaped(
        PluginKit::required(L"package", RC_PROPERTY_MISSING, "a name, or `name:arch`"),
        "[A-Za-z0-9+._-]+(:[A-Za-z0-9+._-]+)?", RC_PROPERTY_VALUE_INVALID),
    PluginKit::shaped(
        PluginKit::optional(L"architecture", "the Architecture field exactly (`all` only `all`)"),
        "[A-Za-z0-9+._-]+", RC_PROPERTY_VALUE_INVALID)};

class PluginContext;

class PackageQuery {
public:
    // Reads "package" and "architecture": -12001 without "package" when `packageRequired`
    // (with an error record through `trace`), -12002 for a name or architecture dpkg cannot
    // hold, or for an architecture after ':' that differs from "architecture". Else 0.
    TErrorCode read(const PluginSDK::Expression& expression, Trace& trace,
                    bool packageRequired = true);

    // The installed instances that match (every package when none was named; any
    // architecture unless one was given), pointing into `database`, which keeps them alive.
    // 0, or -12022 / -12012 for the database.
    TErrorCode installed(PluginContext& context, std::shared_ptr<const PackageDatabase>& database,
                         std::vector<const PackageInstance*>& instances) const;

    // read, then installed: what a node asks about, as it stands in the database.
    static TErrorCode resolve(const PluginSDK::Expression& expression, Trace& trace,
                              PluginContext& context,
                              std::shared_ptr<const PackageDatabase>& database,
                              std::vector<const PackageInstance*>& instances);

    // The database of the plug-in instance: 0, -12022 when it cannot be read, -12012 when it
    // is over its size limit.
    static TErrorCode load(PluginContext& context,
                           std::shared_ptr<const PackageDatabase>& database);

private:
    std::string m_Name;         // empty: every package
    std::string m_Architecture; // empty: any
};

} // namespace SystemPlugin
