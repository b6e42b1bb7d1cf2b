// corehost check on two documents of the same size, read and checked: one of
// valid names and one of names the plug-in does not know, each of which costs
// a did-you-mean search. The unknown names may cost at most a few times the
// valid ones.
#include "eval/DocumentCheck.h"
#include "eval/DocumentReader.h"
#include "eval/PluginSet.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kRules = 4000;
// Most the unknown names may cost, as a multiple of the valid ones.
constexpr double kTargetRatio = 3.0;

std::shared_ptr<corehost::PluginSet> loadPlugin() {
    std::string error;
    auto plugins = corehost::PluginSet::load({COREPLUGIN_MODULE_PATH}, error);
    if (!plugins) {
        std::fprintf(stderr, "check: %s\n", error.c_str());
        std::exit(1);
    }
    return plugins;
}

// kRules rules, each a Compare of two ValueOf; with `unknown` every name is
// misspelt, some close to a registered name and some far from all.
std::string document(bool unknown) {
    static const char* const kTypos[] = {"ValueOff",       "Comapre", "SomethingElse",
                                         "IniFileKeyValu", "x",       "MountPathServerRemote"};
    std::string text = "{\"rules\": [";
    for (int i = 0; i < kRules; ++i) {
        const std::string leaf =
            unknown ? kTypos[i % 6] + std::to_string(i % 10) : std::string("ValueOf");
        const std::string value =
            "{\"name\": \"" + leaf + "\", \"properties\": {\"value\": \"1.2\"}}";
        text += std::string(i ? "," : "") + "{\"id\": \"r" + std::to_string(i) +
                "\", \"tree\": {\"name\": \"" + (unknown ? "Compar" : "Compare") +
                "\", \"properties\": {\"type\": \"version\", \"relation\": \"ge\"}, "
                "\"children\": [" +
                value + ", " + value + "]}}\n";
    }
    return text + "]}";
}

// Findings of the whole document.
std::size_t check(const std::string& text, const corehost::PluginSet& plugins) {
    corehost::Document document;
    corehost::InputError error;
    if (!corehost::DocumentReader::parse(text, document, error)) {
        std::fprintf(stderr, "check: %s\n", error.message.c_str());
        std::exit(1);
    }
    std::size_t findings = 0;
    for (const corehost::Rule& rule : document.rules)
        findings += corehost::checkRule(rule, plugins).size();
    return findings;
}

void checkDocument(benchmark::State& state, bool unknown) {
    static const std::shared_ptr<corehost::PluginSet> plugins = loadPlugin();
    const std::string text = document(unknown);
    if ((check(text, *plugins) == 3 * kRules) != unknown) {
        std::fprintf(stderr, "check: unexpected findings\n");
        std::exit(1);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(check(text, *plugins));
    state.counters["rules"] = kRules;
    if (unknown)
        state.counters["target"] = kTargetRatio;
}

BENCHMARK_CAPTURE(checkDocument, unknown, true)->Name("check_unknown_names/ours");
BENCHMARK_CAPTURE(checkDocument, valid, false)->Name("check_unknown_names/valid");

} // namespace
