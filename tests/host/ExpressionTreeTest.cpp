// The evaluator as a library. What it calls on a plug-in, in which order, is
// the call log of the fake plug-in in the cli cases (cli.json); what only a
// program that embeds the library can do is here.
#include "eval/ExpressionTree.h"
#include "eval/PluginModule.h"

#include <gtest/gtest.h>

// A tree keeps the module it was built from: the host may drop its own handle
// first, and the tree still evaluates and is destroyed before the plug-in.
TEST(ExpressionTree, KeepsItsPluginModuleAlive) {
    std::string error;
    auto module = corehost::PluginModule::load(COREHOST_FAKE_PLUGIN_PATH, error);
    ASSERT_NE(module, nullptr) << error;
    corehost::BuildError buildError;
    auto tree = corehost::ExpressionTree::build(
        module, {L"Join", {}, {{L"Value", {{L"value", L"x"}}, {}}}}, "", buildError);
    ASSERT_NE(tree, nullptr) << buildError.describe();
    module.reset();
    ASSERT_EQ(tree->evaluate(), 0);
    EXPECT_EQ(tree->scalarResult().str(), L"x");
}
