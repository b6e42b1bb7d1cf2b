// corehost check on documents of the same size, one of valid names and one of
// names the plug-in does not know, each costing a did-you-mean search: the
// unknown names must cost at most a few times the valid ones.
#include "eval/DocumentCheck.h"
#include "eval/PluginModule.h"
#include "eval/TextConversion.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using corehost::NodeSpec;

constexpr int kRules = 4000;
// Most the unknown names may cost, as a multiple of the valid ones.
constexpr double kTargetRatio = 3.0;

std::vector<std::string> registeredNames() {
    std::string error;
    auto module = corehost::PluginModule::load(COREPLUGIN_MODULE_PATH, error);
    if (!module) {
        std::fprintf(stderr, "check: %s\n", error.c_str());
        std::exit(1);
    }
    std::vector<std::string> names;
    for (const std::wstring& name : module->names())
        names.push_back(corehost::toUtf8(name));
    return names;
}

// kRules rules of a ValueOf and a Compare with two children each; `unknown`
// misspells every name, some close to a registered one and some far from all.
std::vector<corehost::Rule> document(bool unknown) {
    static const wchar_t* const kTypos[] = {
        L"ValueOff",       L"Comapre", L"SomethingElse",
        L"IniFileKeyValu", L"x",       L"MountPathServerRemote"};
    std::vector<corehost::Rule> rules(kRules);
    for (int i = 0; i < kRules; ++i) {
        const std::wstring leaf = unknown ? kTypos[i % 6] + std::to_wstring(i % 10) : L"ValueOf";
        NodeSpec value{leaf, {{L"value", L"1.2"}}, {}};
        rules[i].id = "r" + std::to_string(i);
        rules[i].tree = NodeSpec{unknown ? L"Compar" : L"Compare",
                                 {{L"type", L"version"}, {L"relation", L"ge"}},
                                 {value, value}};
    }
    return rules;
}

void check(benchmark::State& state, bool unknown) {
    static const std::vector<std::string> registered = registeredNames();
    const std::vector<corehost::Rule> rules = document(unknown);
    if (corehost::checkRule(rules.front(), registered).empty() != !unknown) {
        std::fprintf(stderr, "check: unexpected findings\n");
        std::exit(1);
    }
    for (auto _ : state)
        for (const corehost::Rule& rule : rules)
            benchmark::DoNotOptimize(corehost::checkRule(rule, registered));
    state.counters["rules"] = kRules;
    if (unknown)
        state.counters["target"] = kTargetRatio;
}

BENCHMARK_CAPTURE(check, unknown, true)->Name("check_unknown_names/ours");
BENCHMARK_CAPTURE(check, valid, false)->Name("check_unknown_names/valid");

} // namespace
