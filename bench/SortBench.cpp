// The Sort expression, created through the plug-in, against std::sort of
// std::vector<std::wstring> on the same random wide strings.
#include "BenchSupport.h"
#include "CorePlugin/CorePlugin.h"
#include "PluginSDK/StringVector.h"
#include "PluginSDK/VectorOperator.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// Texts of 5 to 40 characters: letters, digits and a few characters beyond
// one byte.
std::vector<std::wstring> randomTexts(std::size_t count) {
    static const std::wstring alphabet =
        L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ._-"
        L"\u00e9\u00fc\u03b1\u03b2\u0434\u0436\u4e2d\u6587";
    std::mt19937 random(static_cast<unsigned>(count));
    std::vector<std::wstring> texts(count);
    for (std::wstring& text : texts) {
        text.resize(5 + random() % 36);
        for (wchar_t& c : text)
            c = alphabet[random() % alphabet.size()];
    }
    return texts;
}

class SortExpression {
public:
    SortExpression() {
        m_Plugin.initializePlugin();
        PluginSDK::Expression* expression = nullptr;
        if (m_Plugin.createExpression(L"Sort", &expression) != 0 || !expression) {
            std::fprintf(stderr, "sort: the plug-in cannot create Sort\n");
            std::exit(1);
        }
        m_Sort = static_cast<PluginSDK::VectorOperator*>(expression);
    }
    ~SortExpression() {
        m_Plugin.destroyExpression(m_Sort);
        m_Plugin.cleanupPlugin();
    }
    SortExpression(const SortExpression&) = delete;
    SortExpression& operator=(const SortExpression&) = delete;

    // A fresh evaluation fed with `values` as one vector child.
    void feed(const PluginSDK::StringVector& values) {
        m_Sort->disposeExpression();
        m_Sort->update(values);
    }
    TErrorCode result(PluginSDK::StringVector& out) { return m_Sort->getVectorResult(out); }

private:
    PluginSDK::CorePlugin m_Plugin;
    PluginSDK::VectorOperator* m_Sort = nullptr;
};

void registerSortBenchmarks() {
    for (std::size_t count : {std::size_t(100000), std::size_t(1000000)}) {
        auto texts = std::make_shared<const std::vector<std::wstring>>(randomTexts(count));
        auto values = std::make_shared<PluginSDK::StringVector>();
        for (const std::wstring& text : *texts)
            values->addString(text.c_str());

        // Both must give the same order before either is timed.
        {
            SortExpression sort;
            sort.feed(*values);
            PluginSDK::StringVector ours;
            std::vector<std::wstring> peer(*texts);
            std::sort(peer.begin(), peer.end());
            bool same = sort.result(ours) == 0 && ours.size() == static_cast<int>(peer.size());
            for (std::size_t i = 0; same && i < peer.size(); ++i)
                same = ours[static_cast<int>(i)].str() == peer[i];
            if (!same) {
                std::fprintf(stderr, "sort of %zu: the orders differ\n", count);
                std::exit(1);
            }
        }

        // Timed on each side: sorting the N fed strings in place and handing
        // them over as a copy into an empty list (Sort's getVectorResult does
        // both). Feeding the expression, copying the data for std::sort and
        // destroying the results happen with the clock paused.
        benchsupport::registerPair(
            "sort/" + std::to_string(count), "std_sort", 1.2,
            [values](benchmark::State& state) {
                SortExpression sort;
                for (auto _ : state) {
                    state.PauseTiming();
                    sort.feed(*values);
                    auto out = std::make_unique<PluginSDK::StringVector>();
                    state.ResumeTiming();
                    benchmark::DoNotOptimize(sort.result(*out));
                    state.PauseTiming();
                    out.reset();
                    state.ResumeTiming();
                }
                state.SetItemsProcessed(state.iterations() *
                                        static_cast<std::int64_t>(values->size()));
            },
            [texts](benchmark::State& state) {
                for (auto _ : state) {
                    state.PauseTiming();
                    std::vector<std::wstring> sorted(*texts);
                    std::unique_ptr<std::vector<std::wstring>> out;
                    state.ResumeTiming();
                    std::sort(sorted.begin(), sorted.end());
                    out = std::make_unique<std::vector<std::wstring>>(sorted);
                    benchmark::DoNotOptimize(out->data());
                    state.PauseTiming();
                    out.reset();
                    sorted = std::vector<std::wstring>();
                    state.ResumeTiming();
                }
                state.SetItemsProcessed(state.iterations() *
                                        static_cast<std::int64_t>(texts->size()));
            },
            [count](benchmark::internal::Benchmark* benchmark) {
                benchmark->Unit(benchmark::kMillisecond)->Iterations(count > 100000 ? 2 : 10);
            });
    }
}

const bool registered = (registerSortBenchmarks(), true);

} // namespace
