// Expression properties, string lists and configuration stores of the host SDK.
#include "PluginSDK/Configuration.h"
#include "PluginSDK/ScalarOperand.h"
#include "PluginSDK/StringVector.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class Leaf : public PluginSDK::ScalarOperand {
public:
    void disposeExpression() override {}
    TErrorCode getScalarResult(PluginSDK::String& result) override {
        result = L"";
        return 0;
    }
};

} // namespace

TEST(SdkExpression, AttachesReplacesAndDetachesProperties) {
    Leaf leaf;
    EXPECT_EQ(leaf.getProperty(L"value"), nullptr);
    leaf.setProperty(L"value", L"1");
    leaf.setProperty(L"other", L"");
    EXPECT_STREQ(leaf.getProperty(L"value"), L"1");
    EXPECT_STREQ(leaf.getProperty(L"other"), L"");
    leaf.setProperty(L"value", L"2");
    EXPECT_STREQ(leaf.getProperty(L"value"), L"2");
    leaf.setProperty(L"value", nullptr);
    EXPECT_EQ(leaf.getProperty(L"value"), nullptr);
    EXPECT_EQ(leaf.getProperty(L"Value"), nullptr);
    EXPECT_EQ(leaf.getProperty(nullptr), nullptr);
    leaf.setProperty(nullptr, L"ignored");
}

TEST(SdkStringVector, KeepsOrderAndSortsByCodePoint) {
    PluginSDK::StringVector list;
    list.addString(L"b");
    list.addString(PluginSDK::String(L"B"));
    list.addString(static_cast<const wchar_t*>(nullptr));
    list.addString(L"ab");
    list.addString(L"a");
    ASSERT_EQ(list.size(), 5);
    EXPECT_TRUE(list[2] == L"");

    list.sort(false);
    const wchar_t* ascending[] = {L"", L"B", L"a", L"ab", L"b"};
    for (int i = 0; i < list.size(); ++i)
        EXPECT_TRUE(list[i] == ascending[i]) << i;
    list.sort(true);
    for (int i = 0; i < list.size(); ++i)
        EXPECT_TRUE(list[i] == ascending[4 - i]) << i;

    PluginSDK::StringVector copy;
    copy = list;
    EXPECT_TRUE(copy == list);
    list.removeAll();
    EXPECT_EQ(list.size(), 0);
    EXPECT_EQ(copy.size(), 5);
}

TEST(SdkConfiguration, StoresAreCreatedOnFirstUseAndDroppedByCleanup) {
    PluginSDK::Configuration* store = nullptr;
    ASSERT_EQ(PluginSDK::Configuration::get(L"StoreTest", store), 0);
    ASSERT_NE(store, nullptr);
    store->setProperty(L"key", L"one");
    store->setProperty(L"key", L"two");
    EXPECT_STREQ(store->getProperty(L"key"), L"two");

    PluginSDK::Configuration* again = nullptr;
    PluginSDK::Configuration::get(L"StoreTest", again);
    EXPECT_EQ(again, store);

    EXPECT_EQ(PluginSDK::Configuration::cleanup(L"StoreTest"), 0);
    PluginSDK::Configuration::get(L"StoreTest", again);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->getProperty(L"key"), nullptr);
    PluginSDK::Configuration::cleanup(L"StoreTest");

    PluginSDK::Configuration* none = store;
    EXPECT_EQ(PluginSDK::Configuration::get(nullptr, none), -101);
    EXPECT_EQ(none, nullptr);
}

namespace {

// A host that keeps its plug-in in a static object cleans the plug-in up from
// that object's destructor, at exit, after statics made later are gone.
struct HostCleaningUpAtExit {
    ~HostCleaningUpAtExit() { PluginSDK::Configuration::cleanup(L"CorePlugin"); }
};

} // namespace

TEST(SdkConfigurationDeathTest, StoresOutliveHostsThatCleanUpAtExit) {
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // a fresh process: no store made before
    EXPECT_EXIT(
        {
            static HostCleaningUpAtExit host; // made before the first store
            PluginSDK::Configuration* store = nullptr;
            PluginSDK::Configuration::get(L"CorePlugin", store);
            store->setProperty(L"defaultWindowsRegistrySection", L"64");
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
