// SystemPlugin as a host meets it: the module loaded through the SDK's entry
// points, its names in registration order, its exports, its plug-in properties.
#include "SystemPlugin/SystemPlugin.h"

#include "PluginSDK/Plugin.h"
#include "QxLogWrapper/Tracer.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// The names of the first release, whose order stays: later ones follow them.
const std::vector<std::wstring> kFirstNames = {
    L"FileText",       L"FileLines",  L"FileDigest",       L"FileMode",       L"FileOwner",
    L"FileGroup",      L"ModeWithin", L"FileAcl",          L"LinkTarget",     L"DirectoryEntries",
    L"FileAge",        L"KeyValue",   L"KeyValues",        L"RecordField",    L"Sysctl",
    L"MountOptions",   L"MountType",  L"PackageInstalled", L"PackageVersion", L"InstalledPackages",
    L"VersionCompare", L"TextMatch",  L"TextExtract",      L"Count",          L"VectorContains",
    L"Duplicates"};

} // namespace

TEST(SystemPluginModule, LoadsThroughTheEntryPointsAndRegistersItsNamesInOrder) {
    std::unique_ptr<void, int (*)(void*)> handle(
        dlopen(SYSTEMPLUGIN_MODULE_PATH, RTLD_NOW | RTLD_LOCAL), &dlclose);
    ASSERT_TRUE(handle) << dlerror();
    auto create = reinterpret_cast<PluginSDK::CreatePluginFunction>(
        dlsym(handle.get(), PluginSDK::kCreatePluginSymbol));
    auto destroy = reinterpret_cast<PluginSDK::DestroyPluginFunction>(
        dlsym(handle.get(), PluginSDK::kDestroyPluginSymbol));
    ASSERT_TRUE(create && destroy);
    PluginSDK::Plugin* plugin = create();
    ASSERT_NE(plugin, nullptr);
    EXPECT_STREQ(plugin->getName(), L"SystemPlugin");
    const PluginSDK::PluginVersion version = plugin->getVersion();
    EXPECT_EQ(std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
                  std::to_string(version.build) + "." + std::to_string(version.revision),
              "1.0.0.0");
    EXPECT_EQ(plugin->initializePlugin(), 0);
    EXPECT_EQ(plugin->initializePlugin(), 0);
    const std::vector<std::wstring>& names = plugin->getExpressionNames();
    ASSERT_GE(names.size(), kFirstNames.size());
    EXPECT_EQ(std::vector<std::wstring>(names.begin(), names.begin() + kFirstNames.size()),
              kFirstNames);
    PluginSDK::Expression* expression = nullptr;
    EXPECT_EQ(plugin->createExpression(L"filetext", &expression), -10008);
    EXPECT_EQ(plugin->createExpression(L"Not", &expression), -10008);
    EXPECT_EQ(expression, nullptr);
    EXPECT_EQ(plugin->cleanupPlugin(), 0);
    destroy(plugin);
}

TEST(SystemPluginModule, ExportsOnlyItsEntryPoints) {
    const std::string command =
        std::string("nm -D --defined-only '") + SYSTEMPLUGIN_MODULE_PATH + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
    std::string exported;
    char line[4096];
    while (pipe && std::fgets(line, sizeof line, pipe.get())) {
        std::string symbol(line); // "<address> <type> <name>\n"
        exported += symbol.substr(symbol.rfind(' ') + 1);
    }
    if (exported.empty())
        GTEST_SKIP() << "nm is not available";
    EXPECT_EQ(exported, "createPlugin\ndestroyPlugin\n");
}

TEST(SystemPluginProperties, DefaultsSettingsAndUnknownNames) {
    PluginSDK::SystemPlugin plugin;
    SystemPlugin::PluginContext& context = plugin.context();
    EXPECT_EQ(context.dpkgAdminDir(), "/var/lib/dpkg");
    EXPECT_EQ(context.sshConfigDir(), "/etc/ssh");
    std::vector<TraceRecord> records;
    Tracer::setSink([&](const TraceRecord& record) { records.push_back(record); });
    plugin.setProperty(L"dpkgAdminDir", L"/srv/image/var/lib/dpkg");
    plugin.setProperty(L"sshConfigDir", L"/srv/\u00e9tc/ssh");
    plugin.setProperty(L"DpkgAdminDir", L"/x");
    plugin.setProperty(L"sshConfigDir", nullptr);
    Tracer::setSink(nullptr);
    EXPECT_EQ(context.dpkgAdminDir(), "/srv/image/var/lib/dpkg");
    EXPECT_EQ(context.sshConfigDir(), "/srv/\xc3\xa9tc/ssh");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].message, "Unexpected plugin property, skipping. plugin=[SystemPlugin] "
                                  "name=[DpkgAdminDir] value=[/x]");
    EXPECT_EQ(records[1].level, 2);
}
