// Loading plug-in modules: entry points, registered names, failures.
#include "host/FakePluginFixture.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class PluginModuleTest : public hosttest::FakePluginFixture {};

TEST_F(PluginModuleTest, InitialisesThePluginAndKnowsItsNames) {
    EXPECT_EQ(module->initializeCode(), 0);
    EXPECT_THAT(module->names(), ElementsAre(L"Value", L"Join", L"List", L"Collect", L"Broken"));
    ASSERT_NE(module->findName(L"Collect"), nullptr);
    EXPECT_EQ(*module->findName(L"Collect"), L"Collect");
    EXPECT_EQ(module->findName(L"collect"), nullptr);
    EXPECT_STREQ(module->plugin().getName(), L"FakePlugin");
}

TEST_F(PluginModuleTest, ReleasingTheModuleCleansUpThenDestroysThePlugin) {
    module.reset();
    EXPECT_THAT(takeCalls(), ElementsAre("plugin.cleanup", "plugin.destroy"));
}

TEST(PluginModuleLoad, ReportsAMissingModule) {
    std::string error;
    EXPECT_EQ(corehost::PluginModule::load("/nonexistent/libCorePlugin.so", error), nullptr);
    EXPECT_THAT(error, HasSubstr("/nonexistent/libCorePlugin.so"));
}

TEST(PluginModuleLoad, ReportsALibraryWithoutEntryPoints) {
    std::string error;
    EXPECT_EQ(corehost::PluginModule::load(COREHOST_NOT_A_PLUGIN_PATH, error), nullptr);
    EXPECT_THAT(error, HasSubstr("createPlugin"));
}

} // namespace
