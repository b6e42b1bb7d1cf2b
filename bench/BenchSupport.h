// Registration of side-by-side benchmark pairs: our code and a peer on the
// same case, read back as a ratio by bench/ratios.py; a scratch directory.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
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

// A scratch directory, removed with its files when the program ends.
struct ScratchDir {
    std::string path;
    ScratchDir() {
        std::string pattern = "/tmp/systemplugin-bench-XXXXXX";
        if (::mkdtemp(pattern.data()))
            path = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
};

} // namespace benchsupport
