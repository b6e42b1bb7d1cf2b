// Whole trees evaluated through the reference host's evaluator library on the
// plug-in module, loaded with dlopen as a host does: a Concat over 1,000
// ValueOf children and a version check of an INI value, with and without
// building (and destroying) the tree in each iteration.
#include "eval/ExpressionTree.h"
#include "eval/NodeSpec.h"
#include "eval/PluginModule.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <utility>

namespace {

using corehost::NodeSpec;

// Most a node may take, creation and destruction included, in the Concat tree.
constexpr double kTargetNsPerNode = 150.0;

std::shared_ptr<corehost::PluginModule> loadModule() {
    std::string error;
    auto module = corehost::PluginModule::load(COREPLUGIN_MODULE_PATH, error);
    if (!module) {
        std::fprintf(stderr, "tree: %s\n", error.c_str());
        std::exit(1);
    }
    return module;
}

NodeSpec concatTree() {
    NodeSpec root{L"Concat", {{L"separator", L","}}, {}};
    for (int i = 0; i < 1000; ++i)
        root.children.push_back({L"ValueOf", {{L"value", L"item" + std::to_wstring(i)}}, {}});
    return root;
}

// A small INI file in a fresh temporary directory, removed at exit.
class IniFile {
public:
    IniFile() {
        char pattern[] = "/tmp/coreplugin-bench-XXXXXX";
        if (!mkdtemp(pattern)) {
            std::perror("tree: mkdtemp");
            std::exit(1);
        }
        m_Directory = pattern;
        m_Path = m_Directory + "/app.ini";
        std::ofstream(m_Path) << "; installed application\n[general]\nname=Example\n\n"
                                 "[application]\npath=/opt/example\nversion=2.10.3\n"
                                 "build=4711\n\n[logging]\nlevel=info\n";
    }
    ~IniFile() {
        std::remove(m_Path.c_str());
        rmdir(m_Directory.c_str());
    }
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;
    std::wstring path() const { return std::wstring(m_Path.begin(), m_Path.end()); }

private:
    std::string m_Directory;
    std::string m_Path;
};

NodeSpec versionRule(const std::wstring& iniPath) {
    return NodeSpec{
        L"Compare",
        {{L"type", L"version"}, {L"relation", L"ge"}},
        {NodeSpec{L"IniFileKeyValue",
                  {{L"file", iniPath}, {L"section", L"application"}, {L"key", L"version"}},
                  {}},
         NodeSpec{L"ValueOf", {{L"value", L"2.4"}}, {}}}};
}

std::unique_ptr<corehost::ExpressionTree>
build(const std::shared_ptr<corehost::PluginModule>& module, const NodeSpec& spec) {
    corehost::BuildError error;
    auto tree = corehost::ExpressionTree::build(module, spec, "", error);
    if (!tree) {
        std::fprintf(stderr, "tree: %s\n", error.describe().c_str());
        std::exit(1);
    }
    return tree;
}

// Checks the result once before timing.
void checkResult(const std::shared_ptr<corehost::PluginModule>& module, const NodeSpec& spec,
                 const std::wstring& expected) {
    auto tree = build(module, spec);
    if (tree->evaluate() != 0 || tree->scalarResult().str() != expected) {
        std::fprintf(stderr, "tree: unexpected result\n");
        std::exit(1);
    }
}

void registerTree(const std::string& name, std::shared_ptr<corehost::PluginModule> module,
                  std::shared_ptr<const NodeSpec> spec, std::size_t nodes, double target) {
    // Building: creating every node, attaching its properties, evaluating
    // once and destroying the tree. The description is made once, outside.
    benchmark::RegisterBenchmark(("tree/" + name + "/build_evaluate_destroy").c_str(),
                                 [module, spec, nodes, target](benchmark::State& state) {
                                     for (auto _ : state) {
                                         auto tree = build(module, *spec);
                                         benchmark::DoNotOptimize(tree->evaluate());
                                     }
                                     state.counters["nodes"] = static_cast<double>(nodes);
                                     if (target > 0)
                                         state.counters["target_ns_per_node"] = target;
                                 });
    // A built tree evaluated again and again (every node disposed in between).
    benchmark::RegisterBenchmark(("tree/" + name + "/evaluate").c_str(),
                                 [module, spec, nodes](benchmark::State& state) {
                                     auto tree = build(module, *spec);
                                     for (auto _ : state)
                                         benchmark::DoNotOptimize(tree->evaluate());
                                     state.counters["nodes"] = static_cast<double>(nodes);
                                 });
}

void registerTreeBenchmarks() {
    static IniFile iniFile;
    std::shared_ptr<corehost::PluginModule> module = loadModule();

    auto concat = std::make_shared<const NodeSpec>(concatTree());
    std::wstring joined;
    for (int i = 0; i < 1000; ++i)
        joined += (i ? L",item" : L"item") + std::to_wstring(i);
    checkResult(module, *concat, joined);
    registerTree("concat_1000_valueof", module, concat, 1001, kTargetNsPerNode);

    auto rule = std::make_shared<const NodeSpec>(versionRule(iniFile.path()));
    checkResult(module, *rule, L"true");
    registerTree("version_rule_ini", module, rule, 3, 0.0);
}

const bool registered = (registerTreeBenchmarks(), true);

} // namespace
