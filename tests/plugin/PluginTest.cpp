// The plug-in object: identity, registration, the factory and the plug-in setting.
#include "CorePlugin.h"
#include "ExpressionFactory.h"
#include "PluginSDK/Configuration.h"
#include "support/HostDriver.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<std::wstring> kRegistrationOrder = {
    L"Not",
    L"And",
    L"Or",
    L"FileInfo",
    L"FileInfoCompare",
    L"FileExists",
    L"FileDirectory",
    L"PathExists",
    L"ValueOf",
    L"Compare",
    L"Vector",
    L"Sort",
    L"Match",
    L"Concat",
    L"Switch",
    L"BitwiseAnd",
    L"BitwiseInclusiveOr",
    L"BitwiseExclusiveOr",
    L"ScalarToVector",
    L"VectorToScalar",
    L"VectorIterator",
    L"VectorAt",
    L"Md5",
    L"Substring",
    L"Contains",
    L"Clip",
    L"StringSlice",
    L"StringCrop",
    L"IniFileKeyExists",
    L"IniFileKeyValue",
    L"MountServer",
    L"MountPath",
    L"MountRemotePath",
};

const wchar_t* storedSetting() {
    PluginSDK::Configuration* store = nullptr;
    PluginSDK::Configuration::get(L"CorePlugin", store);
    return store->getProperty(L"defaultWindowsRegistrySection");
}

} // namespace

TEST(Plugin, IdentifiesItself) {
    PluginSDK::CorePlugin plugin;
    PluginSDK::PluginVersion version = plugin.getVersion();
    EXPECT_EQ(version.major, 1);
    EXPECT_EQ(version.minor, 1);
    EXPECT_EQ(version.build, 1);
    EXPECT_EQ(version.revision, 1);
    EXPECT_STREQ(plugin.getName(), L"CorePlugin");
    EXPECT_EQ(plugin.getUnknownSoftware(), nullptr);
}

TEST(Plugin, RegistersTheThirtyThreeNamesInOrderOnce) {
    PluginSDK::CorePlugin plugin;
    EXPECT_TRUE(plugin.getExpressionNames().empty());
    EXPECT_EQ(plugin.initializePlugin(), 0);
    EXPECT_EQ(plugin.getExpressionNames(), kRegistrationOrder);
    plugin.initializePlugin();
    EXPECT_EQ(plugin.getExpressionNames().size(), 33u);
    EXPECT_TRUE(plugin.getMountList()->isReady());
}

TEST(Plugin, FactoryRefusesNullArguments) {
    PluginSDK::CorePlugin plugin;
    plugin.initializePlugin();
    PluginSDK::Expression* expression = reinterpret_cast<PluginSDK::Expression*>(0x1);
    EXPECT_EQ(plugin.createExpression(nullptr, &expression), -101);
    EXPECT_EQ(expression, reinterpret_cast<PluginSDK::Expression*>(0x1)); // not written
    EXPECT_EQ(plugin.createExpression(L"And", nullptr), -101);
}

TEST(Plugin, FactoryComparesNamesExactly) {
    PluginSDK::CorePlugin plugin;
    plugin.initializePlugin();
    for (const wchar_t* name : {L"not", L"NOT", L"Not ", L" Not", L"", L"Unknown", L"Nothing"}) {
        PluginSDK::Expression* expression = reinterpret_cast<PluginSDK::Expression*>(0x1);
        EXPECT_EQ(plugin.createExpression(name, &expression), -10008) << name;
        EXPECT_EQ(expression, nullptr) << name;
    }
}

TEST(Plugin, FactoryMakesAFreshObjectForEveryAvailableName) {
    PluginSDK::CorePlugin plugin;
    plugin.initializePlugin();
    for (const ::CorePlugin::ExpressionEntry& entry : ::CorePlugin::expressionTable()) {
        if (!entry.create)
            continue;
        PluginSDK::Expression* first = nullptr;
        PluginSDK::Expression* second = nullptr;
        ASSERT_EQ(plugin.createExpression(entry.name, &first), 0) << entry.name;
        ASSERT_EQ(plugin.createExpression(entry.name, &second), 0) << entry.name;
        EXPECT_NE(first, nullptr);
        EXPECT_NE(first, second);
        EXPECT_EQ(plugin.destroyExpression(first), 0);
        EXPECT_EQ(plugin.destroyExpression(second), 0);
    }
    EXPECT_EQ(plugin.destroyExpression(nullptr), 0);
}

TEST(PluginSetting, StoresEachAcceptedValueWithoutTracing) {
    testsupport::TraceCapture capture;
    PluginSDK::CorePlugin plugin;
    plugin.initializePlugin();
    for (const wchar_t* value : {L"32", L"64", L"32or64", L"64or32"}) {
        plugin.setProperty(L"defaultWindowsRegistrySection", value);
        ASSERT_NE(storedSetting(), nullptr);
        EXPECT_STREQ(storedSetting(), value);
    }
    EXPECT_TRUE(capture.records().empty());
    EXPECT_EQ(plugin.cleanupPlugin(), 0);
    EXPECT_EQ(storedSetting(), nullptr);
    PluginSDK::Configuration::cleanup(L"CorePlugin");
}

TEST(PluginSetting, WarnsAboutEveryOtherNameOrValueAndStoresNothing) {
    struct Case {
        const wchar_t* name;
        const wchar_t* value;
        const char* message;
    };
    const Case cases[] = {
        {L"defaultWindowsRegistrySection", L"64OR32",
         "Unexpected plugin property, skipping. plugin=[CorePlugin] "
         "name=[defaultWindowsRegistrySection] value=[64OR32]"},
        {L"defaultWindowsRegistrySection", L"3264",
         "Unexpected plugin property, skipping. plugin=[CorePlugin] "
         "name=[defaultWindowsRegistrySection] value=[3264]"},
        {L"defaultWindowsRegistrySection", L"",
         "Unexpected plugin property, skipping. plugin=[CorePlugin] "
         "name=[defaultWindowsRegistrySection] value=[]"},
        {L"other", L"64",
         "Unexpected plugin property, skipping. plugin=[CorePlugin] name=[other] value=[64]"},
        {nullptr, L"64",
         "Unexpected plugin property, skipping. plugin=[CorePlugin] name=[] value=[64]"},
        {L"defaultWindowsRegistrySection", nullptr,
         "Unexpected plugin property, skipping. plugin=[CorePlugin] "
         "name=[defaultWindowsRegistrySection] value=[]"},
    };
    PluginSDK::Configuration::cleanup(L"CorePlugin");
    PluginSDK::CorePlugin plugin;
    for (const Case& c : cases) {
        testsupport::TraceCapture capture;
        plugin.setProperty(c.name, c.value);
        ASSERT_EQ(capture.records().size(), 1u) << c.message;
        const TraceRecord& record = capture.records()[0];
        EXPECT_EQ(record.message, c.message);
        EXPECT_EQ(record.level, 2);
        EXPECT_EQ(record.component, 5);
        EXPECT_EQ(record.file, "src/plugins/CorePlugin/CorePlugin");
        EXPECT_EQ(record.function, "CorePlugin::setProperty(const wchar_t *, const wchar_t *)");
        EXPECT_EQ(storedSetting(), nullptr);
    }
    PluginSDK::Configuration::cleanup(L"CorePlugin");
}

TEST(Plugin, OnlySwitchTakesFailedChildrenAndFewScalarOperatorsTakeLists) {
    testsupport::HostDriver host;
    for (const std::wstring& name : host.plugin().getExpressionNames()) {
        auto expression = host.create(name.c_str());
        if (!expression->isOperator())
            continue;
        const bool isSwitch = name == L"Switch";
        EXPECT_EQ(testsupport::HostDriver::continueOnError(*expression), isSwitch) << name;
        if (!isSwitch) {
            EXPECT_EQ(testsupport::HostDriver::feedError(*expression, -11025), -102) << name;
        }
        const bool takesLists = expression->getType() == PluginSDK::VECTOR_EXPRESSION ||
                                name == L"VectorAt" || name == L"VectorToScalar";
        if (!takesLists) {
            EXPECT_EQ(testsupport::HostDriver::feed(*expression, {L"true"}), -102) << name;
        }
    }
}
