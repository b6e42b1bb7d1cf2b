// The plug-in object where corehost does not reach it: registration before and
// after a repeated initialisation, the factory's exact names, what every
// operator does with failed children and lists, and the setting's store and
// its null texts. Loading the module, the plug-in's name,
// version and registration order and the warnings for other settings are
// end-to-end cases (real-smoke.json, rule-pack.json) and the lifecycle soak.
#include "CorePlugin/CorePlugin.h"
#include "PluginSDK/Configuration.h"
#include "QxLogWrapper/Tracer.h"
#include "support/HostDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::HostDriver;

namespace {

const wchar_t* storedSetting() {
    PluginSDK::Configuration* store = nullptr;
    PluginSDK::Configuration::get(L"CorePlugin", store);
    return store->getProperty(L"defaultWindowsRegistrySection");
}

} // namespace

TEST(Plugin, RegistersItsNamesOnceAndMakesAFreshObjectForExactNamesOnly) {
    HostDriver host;
    PluginSDK::CorePlugin& plugin = host.plugin();
    EXPECT_EQ(plugin.getUnknownSoftware(), nullptr);
    EXPECT_EQ(plugin.initializePlugin(), 0);
    EXPECT_FALSE(plugin.getExpressionNames().empty());
    EXPECT_TRUE(PluginSDK::CorePlugin().getExpressionNames().empty());
    for (const wchar_t* name : {L"not", L"NOT", L"Not ", L" Not", L"", L"Nothing"}) {
        auto* expression = reinterpret_cast<PluginSDK::Expression*>(0x1);
        EXPECT_EQ(plugin.createExpression(name, &expression), -10008) << name;
        EXPECT_EQ(expression, nullptr) << name;
    }
    for (const std::wstring& name : plugin.getExpressionNames()) {
        auto first = host.create(name.c_str());
        auto second = host.create(name.c_str());
        EXPECT_TRUE(first && second && first != second) << name;
    }
}

TEST(Plugin, OnlySwitchTakesFailedChildrenAndFewScalarOperatorsTakeLists) {
    HostDriver host;
    for (const std::wstring& name : host.plugin().getExpressionNames()) {
        auto expression = host.create(name.c_str());
        if (!expression->isOperator())
            continue;
        const bool isSwitch = name == L"Switch";
        EXPECT_EQ(
            testsupport::asOperator(*expression, [](auto& op) { return op.continueOnError(); }),
            isSwitch)
            << name;
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
    std::vector<TraceRecord> records;
    Tracer::setSink([&](const TraceRecord& record) { records.push_back(record); });
    for (const wchar_t* value : {L"32", L"64", L"32or64", L"64or32"}) {
        plugin.setProperty(L"defaultWindowsRegistrySection", value);
        EXPECT_STREQ(storedSetting(), value);
    }
    EXPECT_TRUE(records.empty());
    plugin.setProperty(nullptr, L"64");
    plugin.setProperty(L"defaultWindowsRegistrySection", nullptr);
    Tracer::setSink(nullptr);
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
