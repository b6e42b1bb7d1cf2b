// Registration of side-by-side benchmark pairs: our code and a peer on the
// same case, read back as a ratio by bench/ratios.py.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <utility>

namespace benchsupport {

using Body = std::function<void(benchmark::State&)>;
using Configure = std::function<void(benchmark::internal::Benchmark*)>;

// Registers "<name>/ours" and "<name>/<peer>". The ours side carries the
// largest acceptable time ratio ours/peer as the counter "target" (0: no
// target); `configure`, when given, is applied to both.
inline void registerPair(const std::string& name, const std::string& peer, double target, Body ours,
                         Body theirs, const Configure& configure = {}) {
    auto* first = benchmark::RegisterBenchmark(
        (name + "/ours").c_str(), [ours = std::move(ours), target](benchmark::State& state) {
            ours(state);
            state.counters["target"] = target;
        });
    auto* second = benchmark::RegisterBenchmark((name + "/" + peer).c_str(), std::move(theirs));
    if (configure) {
        configure(first);
        configure(second);
    }
}

} // namespace benchsupport
