// The table of expressions, in registration order, and the factory: each row
// is the class's own description with its constructor.
#include "SystemPlugin/ExpressionFactory.h"

#include "SystemPlugin/PluginContext.h"
#include "SystemPlugin/cross/AuditRules.h"
#include "SystemPlugin/cross/Count.h"
#include "SystemPlugin/cross/Difference.h"
#include "SystemPlugin/cross/DirectoryEntries.h"
#include "SystemPlugin/cross/Duplicates.h"
#include "SystemPlugin/cross/FileAcl.h"
#include "SystemPlugin/cross/FileAge.h"
#include "SystemPlugin/cross/FileDigest.h"
#include "SystemPlugin/cross/FileGroup.h"
#include "SystemPlugin/cross/FileLines.h"
#include "SystemPlugin/cross/FileMode.h"
#include "SystemPlugin/cross/FileOwner.h"
#include "SystemPlugin/cross/FileSearch.h"
#include "SystemPlugin/cross/FileText.h"
#include "SystemPlugin/cross/InstalledPackages.h"
#include "SystemPlugin/cross/KeyValue.h"
#include "SystemPlugin/cross/KeyValues.h"
#include "SystemPlugin/cross/LinkTarget.h"
#include "SystemPlugin/cross/ModeWithin.h"
#include "SystemPlugin/cross/MountOptions.h"
#include "SystemPlugin/cross/MountType.h"
#include "SystemPlugin/cross/PackageFiles.h"
#include "SystemPlugin/cross/PackageInstalled.h"
#include "SystemPlugin/cross/PackageVersion.h"
#include "SystemPlugin/cross/RecordField.h"
#include "SystemPlugin/cross/Select.h"
#include "SystemPlugin/cross/Sysctl.h"
#include "SystemPlugin/cross/TextExtract.h"
#include "SystemPlugin/cross/TextMatch.h"
#include "SystemPlugin/cross/UnitActiveState.h"
#include "SystemPlugin/cross/UnitFileState.h"
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

// One row per expression; the order is the registration order.
constexpr ExpressionEntry kExpressions[] = {
    PluginKit::entry<FileText>(&make<FileText>),
    PluginKit::entry<FileLines>(&make<FileLines>),
    PluginKit::entry<FileDigest>(&make<FileDigest>),
    PluginKit::entry<FileMode>(&make<FileMode>),
    PluginKit::entry<FileOwner>(&make<FileOwner>),
    PluginKit::entry<FileGroup>(&make<FileGroup>),
    PluginKit::entry<ModeWithin>(&make<ModeWithin>),
    PluginKit::entry<FileAcl>(&make<FileAcl>),
    PluginKit::entry<LinkTarget>(&make<LinkTarget>),
    PluginKit::entry<DirectoryEntries>(&make<DirectoryEntries>),
    PluginKit::entry<FileAge>(&make<FileAge>),
    PluginKit::entry<KeyValue>(&makeWithContext<KeyValue>),
    PluginKit::entry<KeyValues>(&makeWithContext<KeyValues>),
    PluginKit::entry<RecordField>(&make<RecordField>),
    PluginKit::entry<Sysctl>(&make<Sysctl>),
    PluginKit::entry<MountOptions>(&make<MountOptions>),
    PluginKit::entry<MountType>(&make<MountType>),
    PluginKit::entry<PackageInstalled>(&makeWithContext<PackageInstalled>),
    PluginKit::entry<PackageVersion>(&makeWithContext<PackageVersion>),
    PluginKit::entry<InstalledPackages>(&makeWithContext<InstalledPackages>),
    PluginKit::entry<VersionCompare>(&make<VersionCompare>),
    PluginKit::entry<TextMatch>(&make<TextMatch>),
    PluginKit::entry<TextExtract>(&make<TextExtract>),
    PluginKit::entry<Count>(&make<Count>),
    PluginKit::entry<VectorContains>(&make<VectorContains>),
    PluginKit::entry<Duplicates>(&make<Duplicates>),
    PluginKit::entry<FileSearch>(&make<FileSearch>),
    PluginKit::entry<Select>(&make<Select>),
    PluginKit::entry<Difference>(&make<Difference>),
    PluginKit::entry<UnitFileState>(&makeWithContext<UnitFileState>),
    PluginKit::entry<UnitActiveState>(&make<UnitActiveState>),
    PluginKit::entry<AuditRules>(&make<AuditRules>),
    PluginKit::entry<PackageFiles>(&makeWithContext<PackageFiles>),
};

} // namespace

ExpressionTable expressionTable() {
    return ExpressionTable{kExpressions, std::size(kExpressions)};
}

PluginSDK::Expression* createExpression(const wchar_t* name, PluginContext& context) {
    return expressionTable().create(name, context);
}

} // namespace SystemPlugin
