// SystemPlugin's file probes against command-line peers on the same files:
// FileDigest on 64 MiB beside `openssl dgst -sha256`, FileLines with a
// pattern over 1 MiB beside `grep -E`. Both sides run a whole probe (or a
// whole process), so both are timed by the wall clock.
#include "BenchSupport.h"
#include "SystemPlugin/cross/FileDigest.h"
#include "SystemPlugin/cross/FileLines.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include <unistd.h>

namespace {

// A file of `bytes` bytes made by `fill` in the temporary directory, removed at exit.
template <typename Fill> std::string scratchFile(const char* name, Fill fill) {
    static std::string dir = [] {
        std::string pattern = "/tmp/systemplugin-bench-XXXXXX";
        std::string made = ::mkdtemp(pattern.data()) ? pattern : "/tmp";
        return made;
    }();
    std::string path = dir + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    fill(out);
    return path;
}

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

void runCommand(benchmark::State& state, const std::string& command) {
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError(("failed: " + command).c_str());
}

void markWallClock(benchmark::internal::Benchmark* b) {
    b->UseRealTime()->Unit(benchmark::kMillisecond);
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
    benchsupport::registerPair(
        "FileDigest/sha256/64MiB", "openssl", 1.0 / 0.95,
        [bigPath](benchmark::State& state) {
            SystemPlugin::FileDigest digest;
            digest.setProperty(L"absolutePath", bigPath.c_str());
            PluginSDK::String result;
            for (auto _ : state)
                if (digest.getScalarResult(result) != 0)
                    state.SkipWithError("FileDigest failed");
            state.counters["wall"] = 1;
        },
        [big](benchmark::State& state) {
            runCommand(state, "openssl dgst -sha256 " + big + " >/dev/null");
            state.counters["wall"] = 1;
        },
        markWallClock);

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
    const char* pattern = "^\\s*install\\s+cramfs\\s+/bin/(true|false)";
    benchsupport::registerPair(
        "FileLines/pattern/1MiB", "grep", 0.0,
        [linesPath, pattern](benchmark::State& state) {
            SystemPlugin::FileLines probe;
            probe.setProperty(L"absolutePath", linesPath.c_str());
            probe.setProperty(L"pattern", widen(pattern).c_str());
            PluginSDK::StringVector result;
            for (auto _ : state)
                if (probe.getVectorResult(result) != 0 || result.empty())
                    state.SkipWithError("FileLines failed");
            state.counters["wall"] = 1;
            // The time this must stay under, in milliseconds.
            state.counters["limit_ms"] = 10;
        },
        [lines, pattern](benchmark::State& state) {
            runCommand(state, std::string("grep -cE '") + pattern + "' " + lines + " >/dev/null");
            state.counters["wall"] = 1;
        },
        markWallClock);
}

const bool registered = (registerFileBenchmarks(), true);

} // namespace
