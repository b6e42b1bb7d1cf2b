// Lifecycle soak: the plug-in created and destroyed round after round, and in
// each round every expression created, evaluated, disposed and destroyed many
// times in mixed trees (the allocation-failure test checks that the trees use
// every expression). Results never change, nothing leaks (the sanitizer
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
#include <string>
#include <tuple>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define SOAK_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOAK_UNDER_ASAN 1
#endif
#endif

namespace {

// An evaluation's code, whether its result is a list, and its texts on success.
using Outcome = std::tuple<TErrorCode, bool, std::vector<std::string>>;

Outcome outcomeOf(corehost::ExpressionTree& tree, TErrorCode code) {
    const bool isList = tree.type() != PluginSDK::SCALAR_EXPRESSION;
    std::vector<std::string> values;
    if (code == 0 && !isList)
        values.push_back(corehost::toUtf8(tree.scalarResult().str()));
    else if (code == 0)
        for (const PluginSDK::String& item : tree.vectorResult().items())
            values.push_back(corehost::toUtf8(item.str()));
    return {code, isList, values};
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
        for (int build = 0; build < kBuildsPerRound; ++build) {
            for (std::size_t t = 0; t < rules.size(); ++t) {
                corehost::BuildError buildError;
                std::unique_ptr<corehost::ExpressionTree> tree = corehost::ExpressionTree::build(
                    module, rules[t].tree, rules[t].path, buildError);
                ASSERT_NE(tree, nullptr) << buildError.describe();
                for (int e = 0; e < kEvaluationsPerBuild; ++e) {
                    Outcome outcome = outcomeOf(*tree, tree->evaluate());
                    if (firstOutcomes.size() == t) {
                        const auto& expect = rules[t].expect;
                        if (expect)
                            EXPECT_EQ(outcome, Outcome(0, expect->isList, expect->values))
                                << rules[t].id;
                        else
                            EXPECT_NE(std::get<0>(outcome), 0) << rules[t].id << " must fail";
                        firstOutcomes.push_back(outcome);
                    } else if (outcome != firstOutcomes[t]) {
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
