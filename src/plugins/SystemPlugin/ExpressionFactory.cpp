// The table of expression names, in registration order, and the factory.
#include "SystemPlugin/ExpressionFactory.h"

#include "SystemPlugin/PluginContext.h"
#include "SystemPlugin/cross/Count.h"
#include "SystemPlugin/cross/Duplicates.h"
#include "SystemPlugin/cross/InstalledPackages.h"
#include "SystemPlugin/cross/ModeWithin.h"
#include "SystemPlugin/cross/PackageInstalled.h"
#include "SystemPlugin/cross/PackageVersion.h"
#include "SystemPlugin/cross/TextExtract.h"
#include "SystemPlugin/cross/TextMatch.h"
#include "SystemPlugin/cross/VectorContains.h"
#include "SystemPlugin/cross/VersionCompare.h"

#include "PluginKit/Guarded.h"

#include <cwchar>

namespace SystemPlugin {

namespace {

using PluginKit::Guarded;

// Every expression is made guarded: nothing it throws reaches the host.
template <typename T> PluginSDK::Expression* make(PluginContext& /*context*/) {
    return new Guarded<T>();
}

// For expressions that read plug-in state (properties, shared caches).
template <typename T> PluginSDK::Expression* makeWithContext(PluginContext& context) {
    return new Guarded<T>(context);
}

// One row per expression; the order is the registration order. A null create
// registers the name while its class is not built.
constexpr ExpressionEntry kExpressions[] = {
    {L"FileText", nullptr},
    {L"FileLines", nullptr},
    {L"FileDigest", nullptr},
    {L"FileMode", nullptr},
    {L"FileOwner", nullptr},
    {L"FileGroup", nullptr},
    {L"ModeWithin", &make<ModeWithin>},
    {L"FileAcl", nullptr},
    {L"LinkTarget", nullptr},
    {L"DirectoryEntries", nullptr},
    {L"FileAge", nullptr},
    {L"KeyValue", nullptr},
    {L"KeyValues", nullptr},
    {L"RecordField", nullptr},
    {L"Sysctl", nullptr},
    {L"MountOptions", nullptr},
    {L"MountType", nullptr},
    {L"PackageInstalled", &makeWithContext<PackageInstalled>},
    {L"PackageVersion", &makeWithContext<PackageVersion>},
    {L"InstalledPackages", &makeWithContext<InstalledPackages>},
    {L"VersionCompare", &make<VersionCompare>},
    {L"TextMatch", &make<TextMatch>},
    {L"TextExtract", &make<TextExtract>},
    {L"Count", &make<Count>},
    {L"VectorContains", &make<VectorContains>},
    {L"Duplicates", &make<Duplicates>},
};

} // namespace

ExpressionTable expressionTable() {
    return ExpressionTable{kExpressions, sizeof kExpressions / sizeof kExpressions[0]};
}

PluginSDK::Expression* createExpression(const wchar_t* name, PluginContext& context) {
    for (const ExpressionEntry& entry : kExpressions)
        if (std::wcscmp(entry.name, name) == 0)
            return entry.create ? entry.create(context) : nullptr;
    return nullptr;
}

} // namespace SystemPlugin
