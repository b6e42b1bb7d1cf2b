// Lifecycle soak: the plug-in created and destroyed round after round, and in
// each round every expression created, evaluated, disposed and destroyed many
// times in mixed trees. Results never change, nothing leaks (the sanitizer
// build checks at exit), and the heap does not grow from round to round.
#include "eval/ExpressionTree.h"
#include "eval/PluginModule.h"
#include "eval/TextConversion.h"
#include "support/EveryExpression.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <malloc.h>

#include <cstddef>
#include <memory>
#include <set>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define SOAK_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOAK_UNDER_ASAN 1
#endif
#endif

namespace {

// What an evaluation gave: the code, and the result's texts on success.
struct Outcome {
    TErrorCode code = 0;
    bool isList = false;
    std::vector<std::string> values;
    bool operator==(const Outcome& other) const {
        return code == other.code && isList == other.isList && values == other.values;
    }
};

Outcome outcomeOf(corehost::ExpressionTree& tree, TErrorCode code) {
    Outcome outcome{code, tree.type() != PluginSDK::SCALAR_EXPRESSION, {}};
    if (code != 0)
        return outcome;
    if (!outcome.isList)
        outcome.values.push_back(corehost::toUtf8(tree.scalarResult().str()));
    else
        for (const PluginSDK::String& item : tree.vectorResult().items())
            outcome.values.push_back(corehost::toUtf8(item.str()));
    return outcome;
}

// A rule's expectation met, or a rule without one failed.
bool expected(const corehost::Rule& rule, const Outcome& outcome) {
    if (!rule.expect)
        return outcome.code != 0;
    return outcome.code == 0 && outcome.isList == rule.expect->isList &&
           outcome.values == rule.expect->values;
}

constexpr int kRounds = 6;
constexpr int kBuildsPerRound = 30;
constexpr int kEvaluationsPerBuild = 4;
// Heap growth tolerated between the second round and the last.
constexpr std::size_t kHeapSlack = std::size_t{32} * 1024;

// Keeps the module mapped across rounds, so that each round's plug-in is
// created and destroyed without the loader's own bookkeeping in the numbers.
struct ModulePin {
    void* handle = dlopen(COREPLUGIN_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ~ModulePin() {
        if (handle)
            dlclose(handle);
    }
};

} // namespace

TEST(LifecycleSoak, EveryExpressionLivesAndDiesManyTimesWithoutGrowth) {
    const corehost::Document document = testsupport::everyExpression();
    const std::vector<corehost::Rule>& rules = document.rules;
    ModulePin pin;
    ASSERT_NE(pin.handle, nullptr) << dlerror();

    std::vector<Outcome> firstOutcomes;
    std::size_t heapAfterWarmUp = 0;
    std::size_t heapAtEnd = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::string error;
        std::shared_ptr<corehost::PluginModule> module =
            corehost::PluginModule::load(COREPLUGIN_MODULE_PATH, error);
        ASSERT_NE(module, nullptr) << error;
        EXPECT_EQ(module->initializeCode(), 0);
        if (round == 0) {
            std::set<std::wstring> used;
            for (const corehost::Rule& rule : rules)
                testsupport::forEachNode(
                    rule.tree, [&](const corehost::NodeSpec& node) { used.insert(node.name); });
            for (const std::wstring& name : module->names())
                EXPECT_EQ(used.count(name), 1u) << "the soak does not use an expression";
        }
        for (int build = 0; build < kBuildsPerRound; ++build) {
            for (std::size_t t = 0; t < rules.size(); ++t) {
                corehost::BuildError buildError;
                std::unique_ptr<corehost::ExpressionTree> tree = corehost::ExpressionTree::build(
                    module, rules[t].tree, rules[t].path, buildError);
                ASSERT_NE(tree, nullptr) << buildError.describe();
                for (int e = 0; e < kEvaluationsPerBuild; ++e) {
                    Outcome outcome = outcomeOf(*tree, tree->evaluate());
                    if (firstOutcomes.size() == t) {
                        EXPECT_TRUE(expected(rules[t], outcome))
                            << rules[t].id << " gave " << outcome.code;
                        firstOutcomes.push_back(outcome);
                    } else if (!(outcome == firstOutcomes[t])) {
                        ADD_FAILURE() << rules[t].id << " changed its result in round " << round;
                        return;
                    }
                }
            }
        }
        module.reset(); // the plug-in is cleaned up and destroyed
        const std::size_t heap = mallinfo2().uordblks;
        if (round == 1)
            heapAfterWarmUp = heap;
        heapAtEnd = heap;
    }
#ifdef SOAK_UNDER_ASAN
    // The sanitizer's allocator does not report through mallinfo2; its leak
    // check at exit stands in for the growth check.
    (void)heapAfterWarmUp;
    (void)heapAtEnd;
#else
    EXPECT_LE(heapAtEnd, heapAfterWarmUp + kHeapSlack)
        << "the heap grew by " << (heapAtEnd - heapAfterWarmUp) << " bytes over " << (kRounds - 2)
        << " rounds";
#endif
}
