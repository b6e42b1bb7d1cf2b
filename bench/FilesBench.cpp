// SystemPlugin's file probes: FileDigest on 64 MiB beside `openssl dgst
// -sha256` on the same file (each timed by the CPU time it used), and
// FileLines with a pattern over 1 MiB against its time limit.
#include "BenchSupport.h"

#include "SystemPlugin/cross/FileDigest.h"
#include "SystemPlugin/cross/FileLines.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace {

// The path of a scratch file `name` written by `fill`.
template <typename Fill> std::string scratchFile(const char* name, Fill fill) {
    static benchsupport::ScratchDir dir;
    std::string path = dir.path + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    fill(out);
    return path;
}

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// The CPU time (user and system) of the waited-for children so far, in seconds.
double childrenSeconds() {
    struct rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs `command` once per iteration and times each by the CPU time the child
// used, as ours is timed by this process's CPU time: the comparison then holds
// on a loaded machine, where wall-clock times mostly measure waiting.
void runCommand(benchmark::State& state, const std::string& command) {
    for (auto _ : state) {
        const double before = childrenSeconds();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError(("failed: " + command).c_str());
        state.SetIterationTime(childrenSeconds() - before);
    }
    state.counters["manual"] = 1;
}

void registerFileBenchmarks() {
    const std::string big = scratchFile("digest-64MiB", [](std::ofstream& out) {
        std::mt19937_64 random(64);
        std::string block(1 << 20, '\0');
        for (int i = 0; i < 64; ++i) {
            for (char& byte : block)
                byte = static_cast<char>(random());
            out << block;
        }
    });
    const std::wstring bigPath = widen(big);
    // At least 0.95x the peer's throughput is at most 1/0.95 of its time.
    benchmark::RegisterBenchmark("FileDigest/sha256/64MiB/ours", [bigPath](
                                                                     benchmark::State& state) {
        SystemPlugin::FileDigest digest;
        digest.setProperty(L"absolutePath", bigPath.c_str());
        PluginSDK::String result;
        for (auto _ : state)
            if (digest.getScalarResult(result) != 0)
                state.SkipWithError("FileDigest failed");
        state.counters["target"] = 1.0 / 0.95;
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("FileDigest/sha256/64MiB/openssl",
                                 [big](benchmark::State& state) {
                                     runCommand(state,
                                                "openssl dgst -sha256 " + big + " >/dev/null");
                                 })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);

    const std::string lines = scratchFile("lines-1MiB", [](std::ofstream& out) {
        std::mt19937 random(1);
        for (std::size_t size = 0; size < (1u << 20);) {
            std::string line = (random() % 50 == 0 ? "install cramfs /bin/true" : "options x=") +
                               std::to_string(random()) + "\n";
            size += line.size();
            out << line;
        }
    });
    const std::wstring linesPath = widen(lines);
    benchmark::RegisterBenchmark("FileLines/pattern/1MiB", [linesPath](benchmark::State& state) {
        SystemPlugin::FileLines probe;
        probe.setProperty(L"absolutePath", linesPath.c_str());
        probe.setProperty(L"pattern", L"^\\s*install\\s+cramfs\\s+/bin/(true|false)");
        PluginSDK::StringVector result;
        for (auto _ : state)
            if (probe.getVectorResult(result) != 0 || result.empty())
                state.SkipWithError("FileLines failed");
        // The time an evaluation must stay under, in milliseconds.
        state.counters["limit_ms"] = 10;
    })->Unit(benchmark::kMillisecond);
}

const bool registered = (registerFileBenchmarks(), true);

} // namespace
