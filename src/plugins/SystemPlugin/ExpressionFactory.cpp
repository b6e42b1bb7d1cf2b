// The table of expression names, in registration order, and the factory.
#include "SystemPlugin/ExpressionFactory.h"

#include "SystemPlugin/PluginContext.h"
#include "SystemPlugin/cross/AuditRules.h"
#include "SystemPlugin/cross/Count.h"
#include "SystemPlugin/cross/DirectoryEntries.h"
#include "SystemPlugin/cross/Duplicates.h"
#include "SystemPlugin/cross/FileAcl.h"
#include "SystemPlugin/cross/FileAge.h"
#include "SystemPlugin/cross/FileDigest.h"
#include "SystemPlugin/cross/FileGroup.h"
#include "SystemPlugin/cross/FileLines.h"
#include "SystemPlugin/cross/FileMode.h"
#include "SystemPlugin/cross/FileOwner.h"
#include "SystemPlugin/cross/FileText.h"
#include "SystemPlugin/cross/InstalledPackages.h"
#include "SystemPlugin/cross/KeyValue.h"
#include "SystemPlugin/cross/KeyValues.h"
#include "SystemPlugin/cross/LinkTarget.h"
#include "SystemPlugin/cross/ModeWithin.h"
#include "SystemPlugin/cross/MountOptions.h"
#include "SystemPlugin/cross/MountType.h"
#include "SystemPlugin/cross/PackageInstalled.h"
#include "SystemPlugin/cross/PackageVersion.h"
#include "SystemPlugin/cross/RecordField.h"
#include "SystemPlugin/cross/Sysctl.h"
#include "SystemPlugin/cross/TextExtract.h"
#include "SystemPlugin/cross/TextMatch.h"
#include "SystemPlugin/cross/VectorContains.h"
#include "SystemPlugin/cross/VersionCompare.h"

#include "PluginKit/Guarded.h"

#include <iterator>

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
    {L"FileText", &make<FileText>},
    {L"FileLines", &make<FileLines>},
    {L"FileDigest", &make<FileDigest>},
    {L"FileMode", &make<FileMode>},
    {L"FileOwner", &make<FileOwner>},
    {L"FileGroup", &make<FileGroup>},
    {L"ModeWithin", &make<ModeWithin>},
    {L"FileAcl", &make<FileAcl>},
    {L"LinkTarget", &make<LinkTarget>},
    {L"DirectoryEntries", &make<DirectoryEntries>},
    {L"FileAge", &make<FileAge>},
    {L"KeyValue", &makeWithContext<KeyValue>},
    {L"KeyValues", &makeWithContext<KeyValues>},
    {L"RecordField", &make<RecordField>},
    {L"Sysctl", &make<Sysctl>},
    {L"MountOptions", &make<MountOptions>},
    {L"MountType", &make<MountType>},
    {L"PackageInstalled", &makeWithContext<PackageInstalled>},
    {L"PackageVersion", &makeWithContext<PackageVersion>},
    {L"InstalledPackages", &makeWithContext<InstalledPackages>},
    {L"VersionCompare", &make<VersionCompare>},
    {L"TextMatch", &make<TextMatch>},
    {L"TextExtract", &make<TextExtract>},
    {L"Count", &make<Count>},
    {L"VectorContains", &make<VectorContains>},
    {L"Duplicates", &make<Duplicates>},
    {L"AuditRules", &make<AuditRules>},
};

} // namespace

ExpressionTable expressionTable() {
    return ExpressionTable{kExpressions, std::size(kExpressions)};
}

PluginSDK::Expression* createExpression(const wchar_t* name, PluginContext& context) {
    return expressionTable().create(name, context);
}

} // namespace SystemPlugin
