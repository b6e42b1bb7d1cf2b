// The base library's linear text search against the plain search of the
// standard library (std::wstring's find and rfind) on the same texts: the
// adversarial case that makes the plain search take time text x fragment, and
// an ordinary one.
#include "BenchSupport.h"
#include "base/String.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

struct SearchCase {
    std::string name;
    std::wstring text;
    std::wstring fragment;
    double target; // most the linear search may take, as a fraction of the plain one
};

// A benchmark body that runs `search` over the case's text.
template <typename Search> benchsupport::Body over(const SearchCase& c, Search search) {
    const auto bytes = static_cast<std::int64_t>(c.text.size() * sizeof(wchar_t));
    return [c, bytes, search](benchmark::State& state) {
        for (auto _ : state)
            benchmark::DoNotOptimize(search(c));
        state.SetBytesProcessed(state.iterations() * bytes);
    };
}

void registerSearchBenchmarks() {
    // 1 MiB of 'a', and 5,000 'a' then 'b': every position matches 5,000
    // characters before it fails.
    const std::wstring as(1 << 20, L'a');
    const std::wstring adversarial = std::wstring(5000, L'a') + L'b';
    // 1 MiB of words, and a 24-character fragment that is not in it.
    std::mt19937 random(11);
    std::wstring words;
    for (std::size_t i = 0; i < (1u << 20); ++i)
        words += L"abcdefghijklmnopqrstuvwxyz      "[random() % 32];
    const SearchCase cases[] = {
        {"adversarial_1MiB_a5000b", as, adversarial, 0.05},
        {"words_1MiB_absent_24", words, L"configuration=enabled;xy", 2.0},
    };
    for (const SearchCase& c : cases) {
        const TextSearch search(c.fragment);
        if (search.findIn(c.text) != c.text.find(c.fragment) ||
            search.findLastIn(c.text) != c.text.rfind(c.fragment)) {
            std::fprintf(stderr, "search case %s: the searches disagree\n", c.name.c_str());
            std::exit(1);
        }
        const auto configure = [](benchmark::internal::Benchmark* b) {
            b->Unit(benchmark::kMillisecond)->Iterations(1);
        };
        benchsupport::registerPair(
            "search/find/" + c.name, "std_find", c.target,
            over(c, [](const SearchCase& k) { return TextSearch(k.fragment).findIn(k.text); }),
            over(c, [](const SearchCase& k) { return k.text.find(k.fragment); }), configure);
        benchsupport::registerPair(
            "search/rfind/" + c.name, "std_rfind", c.target,
            over(c, [](const SearchCase& k) { return TextSearch(k.fragment).findLastIn(k.text); }),
            over(c, [](const SearchCase& k) { return k.text.rfind(k.fragment); }), configure);
    }
}

const bool registered = (registerSearchBenchmarks(), true);

} // namespace
