// Lifecycle soak: the plug-in created and destroyed round after round, and in
// each round every expression created, evaluated, disposed and destroyed many
// times in mixed trees. Results never change, nothing leaks (the sanitizer
// build checks at exit), and the heap does not grow from round to round.
#include "eval/ExpressionTree.h"
#include "eval/PluginModule.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <malloc.h>

#include <cstddef>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define SOAK_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOAK_UNDER_ASAN 1
#endif
#endif

namespace {

using corehost::NodeSpec;
using Properties = std::vector<std::pair<std::wstring, std::wstring>>;

NodeSpec node(const wchar_t* name, Properties properties = {},
              std::vector<NodeSpec> children = {}) {
    return NodeSpec{name, std::move(properties), std::move(children)};
}

NodeSpec value(const wchar_t* text) {
    return node(L"ValueOf", {{L"value", text}});
}

std::wstring wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

struct Expected {
    TErrorCode code;
    const wchar_t* scalar; // checked when not null
};

struct SoakTree {
    NodeSpec root;
    Expected expected;
};

// Trees that together use every registered expression, on success and on
// failure paths, over an INI file of the test's own.
std::vector<SoakTree> soakTrees(const std::wstring& ini) {
    const wchar_t* file = ini.c_str();
    std::vector<SoakTree> trees;
    trees.push_back({node(L"Compare", {{L"type", L"version"}, {L"relation", L"ge"}},
                          {node(L"IniFileKeyValue",
                                {{L"file", file}, {L"section", L"app"}, {L"key", L"version"}}),
                           value(L"2.4")}),
                     {0, L"true"}});
    trees.push_back(
        {node(L"And", {},
              {node(L"Not", {}, {node(L"PathExists", {{L"absolutePath", L"/nonexistent/soak"}})}),
               node(L"Or", {},
                    {node(L"IniFileKeyExists",
                          {{L"file", file}, {L"section", L"app"}, {L"key", L"missing"}}),
                     node(L"FileExists", {{L"absolutePath", file}})})}),
         {0, L"true"}});
    trees.push_back({node(L"Switch", {{L"default", L"none"}},
                          {node(L"Match", {{L"inputString", L"Hello World"},
                                           {L"filter", L"h*W?RLD"},
                                           {L"ignoreCase", L"true"}}),
                           node(L"Md5", {},
                                {node(L"Concat", {{L"separator", L","}},
                                      {value(L"a"),
                                       node(L"StringCrop", {{L"inputString", L"[x]"},
                                                            {L"startString", L"["},
                                                            {L"endString", L"]"}}),
                                       node(L"Clip", {{L"inputString", L"abcdef"},
                                                      {L"startIndex", L"1"},
                                                      {L"endIndex", L"3"}}),
                                       node(L"StringSlice", {{L"inputString", L"abcdef"},
                                                             {L"startIndex", L"1"},
                                                             {L"endIndex", L"3"}})})})}),
                     {0, nullptr}});
    trees.push_back(
        {node(L"VectorToScalar", {},
              {node(L"Sort", {{L"order", L"desc"}},
                    {node(L"Vector", {{L"filter", L"*"}},
                          {value(L"b"), node(L"ScalarToVector", {}, {value(L"x;a;")}),
                           node(L"VectorIterator", {},
                                {node(L"Substring", {{L"inputString", L"a;b;c"},
                                                     {L"searchedString", L"b"}})})})})}),
         {0, nullptr}});
    trees.push_back(
        {node(L"BitwiseAnd", {},
              {node(L"FileInfo", {{L"absolutePath", file}, {L"field", L"size"}}),
               node(L"BitwiseInclusiveOr", {},
                    {value(L"1"), node(L"BitwiseExclusiveOr", {}, {value(L"6"), value(L"3")})})}),
         {0, nullptr}});
    trees.push_back(
        {node(L"Concat", {{L"separator", L"|"}, {L"ifEmpty", L"add"}},
              {node(L"VectorAt", {{L"index", L"1"}},
                    {node(L"ScalarToVector", {}, {node(L"MountPath", {{L"absolutePath", L"/"}})})}),
               node(L"MountServer", {{L"absolutePath", file}}),
               node(L"MountRemotePath", {{L"absolutePath", file}}),
               node(L"FileDirectory", {{L"file", file}}),
               node(L"Contains", {{L"inputString", L"soak test"},
                                  {L"searchedString", L"soak"},
                                  {L"position", L"start"}}),
               node(L"FileInfoCompare", {{L"absolutePath", file},
                                         {L"field", L"size"},
                                         {L"relation", L"gt"},
                                         {L"value", L"0"}})}),
         {0, nullptr}});
    // Failure paths: a missing property, a refused operand, an index beyond
    // the list, a failed child under Switch.
    trees.push_back(
        {node(L"Compare", {{L"relation", L"eq"}}, {value(L"1"), value(L"1")}), {-11026, nullptr}});
    trees.push_back({node(L"And", {}, {value(L"maybe")}), {-10006, nullptr}});
    trees.push_back({node(L"VectorAt", {{L"index", L"5"}}, {value(L"a")}), {-11035, nullptr}});
    trees.push_back({node(L"Switch", {}, {value(L"true"), node(L"ValueOf")}), {-11022, nullptr}});
    return trees;
}

void collectNames(const NodeSpec& spec, std::set<std::wstring>& names) {
    names.insert(spec.name);
    for (const NodeSpec& child : spec.children)
        collectNames(child, names);
}

struct Outcome {
    TErrorCode code = 0;
    std::wstring scalar;
    std::vector<std::wstring> vector;
    bool operator==(const Outcome& other) const {
        return code == other.code && scalar == other.scalar && vector == other.vector;
    }
};

Outcome outcomeOf(corehost::ExpressionTree& tree, TErrorCode code) {
    Outcome outcome;
    outcome.code = code;
    if (code != 0)
        return outcome;
    if (tree.type() == PluginSDK::SCALAR_EXPRESSION)
        outcome.scalar = tree.scalarResult().str();
    else
        for (const PluginSDK::String& item : tree.vectorResult().items())
            outcome.vector.push_back(item.str());
    return outcome;
}

constexpr int kRounds = 6;
constexpr int kBuildsPerRound = 60;
constexpr int kEvaluationsPerBuild = 4;
// Heap growth tolerated between the second round and the last.
constexpr std::size_t kHeapSlack = 32 * 1024;

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
    testsupport::TempDir dir;
    const std::string ini = dir.write("soak.ini", "[app]\nversion = 2.10.1\nname=soak\n");
    const std::vector<SoakTree> trees = soakTrees(wide(ini));
    ModulePin pin;
    ASSERT_NE(pin.handle, nullptr) << dlerror();

    std::vector<Outcome> firstOutcomes;
    std::size_t heapAfterWarmUp = 0;
    std::size_t heapAtEnd = 0;
    std::size_t evaluations = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::string error;
        std::shared_ptr<corehost::PluginModule> module =
            corehost::PluginModule::load(COREPLUGIN_MODULE_PATH, error);
        ASSERT_NE(module, nullptr) << error;
        if (round == 0) {
            std::set<std::wstring> used;
            for (const SoakTree& tree : trees)
                collectNames(tree.root, used);
            for (const std::wstring& name : module->names())
                EXPECT_EQ(used.count(name), 1u) << "the soak does not use an expression";
        }
        for (int build = 0; build < kBuildsPerRound; ++build) {
            for (std::size_t t = 0; t < trees.size(); ++t) {
                corehost::BuildError buildError;
                std::unique_ptr<corehost::ExpressionTree> tree =
                    corehost::ExpressionTree::build(module, trees[t].root, "", buildError);
                ASSERT_NE(tree, nullptr) << buildError.describe();
                for (int e = 0; e < kEvaluationsPerBuild; ++e, ++evaluations) {
                    Outcome outcome = outcomeOf(*tree, tree->evaluate());
                    if (firstOutcomes.size() == t) {
                        EXPECT_EQ(outcome.code, trees[t].expected.code) << "tree " << t;
                        if (trees[t].expected.scalar) {
                            EXPECT_EQ(outcome.scalar, trees[t].expected.scalar) << "tree " << t;
                        }
                        firstOutcomes.push_back(outcome);
                    } else if (!(outcome == firstOutcomes[t])) {
                        ADD_FAILURE() << "tree " << t << " changed its result in round " << round;
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
    EXPECT_EQ(evaluations,
              std::size_t(kRounds) * kBuildsPerRound * kEvaluationsPerBuild * trees.size());
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
