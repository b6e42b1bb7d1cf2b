// The plug-in object where corehost does not reach it: identity, the
// factory's null arguments and exact names, the setting's store and its null
// texts, and what every operator does with failed children and lists. The
// registration order and the warnings for other settings are end-to-end
// cases (examples.json list-kinds, real-smoke.json).
#include "CorePlugin.h"
#include "PluginSDK/Configuration.h"
#include "support/HostDriver.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

#include <string>

using testsupport::HostDriver;

namespace {

const wchar_t* storedSetting() {
    PluginSDK::Configuration* store = nullptr;
    PluginSDK::Configuration::get(L"CorePlugin", store);
    return store->getProperty(L"defaultWindowsRegistrySection");
}

} // namespace

TEST(Plugin, IdentifiesItselfAndRegistersItsNamesOnce) {
    PluginSDK::CorePlugin plugin;
    PluginSDK::PluginVersion version = plugin.getVersion();
    EXPECT_TRUE(version.major == 1 && version.minor == 1 && version.build == 1 &&
                version.revision == 1);
    EXPECT_EQ(plugin.getUnknownSoftware(), nullptr);
    EXPECT_TRUE(plugin.getExpressionNames().empty());
    EXPECT_EQ(plugin.initializePlugin(), 0);
    EXPECT_EQ(plugin.initializePlugin(), 0);
    EXPECT_EQ(plugin.getExpressionNames().size(), 33u);
}

TEST(Plugin, FactoryMakesAFreshObjectForExactNamesOnly) {
    HostDriver host;
    PluginSDK::CorePlugin& plugin = host.plugin();
    auto* const untouched = reinterpret_cast<PluginSDK::Expression*>(0x1);
    PluginSDK::Expression* expression = untouched;
    EXPECT_EQ(plugin.createExpression(nullptr, &expression), -101);
    EXPECT_EQ(expression, untouched);
    EXPECT_EQ(plugin.createExpression(L"And", nullptr), -101);
    for (const wchar_t* name : {L"not", L"NOT", L"Not ", L" Not", L"", L"Nothing"}) {
        expression = untouched;
        EXPECT_EQ(plugin.createExpression(name, &expression), -10008) << name;
        EXPECT_EQ(expression, nullptr) << name;
    }
    for (const std::wstring& name : plugin.getExpressionNames()) {
        auto first = host.create(name.c_str());
        auto second = host.create(name.c_str());
        EXPECT_TRUE(first && second && first != second) << name;
    }
    EXPECT_EQ(plugin.destroyExpression(nullptr), 0);
}

TEST(Plugin, OnlySwitchTakesFailedChildrenAndFewScalarOperatorsTakeLists) {
    HostDriver host;
    for (const std::wstring& name : host.plugin().getExpressionNames()) {
        auto expression = host.create(name.c_str());
        if (!expression->isOperator())
            continue;
        const bool isSwitch = name == L"Switch";
        EXPECT_EQ(HostDriver::continueOnError(*expression), isSwitch) << name;
        if (!isSwitch) {
            EXPECT_EQ(HostDriver::feedError(*expression, -11025), -102) << name;
        }
        if (expression->getType() == PluginSDK::SCALAR_EXPRESSION && name != L"VectorAt" &&
            name != L"VectorToScalar") {
            EXPECT_EQ(HostDriver::feedList(*expression, {L"true"}), -102) << name;
        }
    }
}

TEST(PluginSetting, StoresAcceptedValuesAndSkipsNullTexts) {
    PluginSDK::CorePlugin plugin;
    plugin.initializePlugin();
    testsupport::TraceCapture capture;
    const std::vector<TraceRecord>& records = capture.records();
    for (const wchar_t* value : {L"32", L"64", L"32or64", L"64or32"}) {
        plugin.setProperty(L"defaultWindowsRegistrySection", value);
        EXPECT_STREQ(storedSetting(), value);
    }
    EXPECT_TRUE(records.empty());
    plugin.setProperty(nullptr, L"64");
    plugin.setProperty(L"defaultWindowsRegistrySection", nullptr);
    EXPECT_STREQ(storedSetting(), L"64or32");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].message,
              "Unexpected plugin property, skipping. plugin=[CorePlugin] name=[] value=[64]");
    EXPECT_EQ(records[1].message, "Unexpected plugin property, skipping. plugin=[CorePlugin] "
                                  "name=[defaultWindowsRegistrySection] value=[]");
    EXPECT_EQ(records[0].level, 2);
    EXPECT_EQ(plugin.cleanupPlugin(), 0);
    EXPECT_EQ(storedSetting(), nullptr);
    PluginSDK::Configuration::cleanup(L"CorePlugin");
}
