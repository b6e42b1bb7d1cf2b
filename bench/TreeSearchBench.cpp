// FileSearch over /usr and over / (without leaving its file system) beside
// `find` with the same tests, each timed by the CPU time it used: ours in
// this process, find's as a child's.
#include "SystemPlugin/cross/FileSearch.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include <sys/resource.h>

namespace {

double childrenSeconds() {
    struct rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Case {
    const char* name;
    const wchar_t* root;
    const char* findArguments;
};

// Set-id files and files without an owner: the tests a baseline asks for.
constexpr Case kCases[] = {
    {"FileSearch/usr/setid", L"/usr", "/usr -xdev -type f -perm /6000"},
    {"FileSearch/usr/nouser", L"/usr", "/usr -xdev -nouser"},
    {"FileSearch/root/world-writable", L"/", "/ -xdev -type f -perm /2"},
};

void registerSearchBenchmarks() {
    for (const Case& search : kCases) {
        const bool noUser = std::string(search.name).find("nouser") != std::string::npos;
        const bool worldWritable = search.root[1] == L'\0';
        benchmark::RegisterBenchmark((std::string(search.name) + "/ours").c_str(),
                                     [search, noUser, worldWritable](benchmark::State& state) {
                                         SystemPlugin::FileSearch probe;
                                         probe.setProperty(L"absolutePath", search.root);
                                         if (noUser) {
                                             probe.setProperty(L"noUser", L"true");
                                         } else {
                                             probe.setProperty(L"type", L"f");
                                             probe.setProperty(L"modeAny",
                                                               worldWritable ? L"0002" : L"6000");
                                         }
                                         PluginSDK::StringVector result;
                                         for (auto _ : state)
                                             if (probe.getVectorResult(result) != 0)
                                                 state.SkipWithError("FileSearch failed");
                                     })
            ->Unit(benchmark::kMillisecond);
        const std::string command =
            std::string("find -H ") + search.findArguments + " >/dev/null 2>&1";
        benchmark::RegisterBenchmark((std::string(search.name) + "/find").c_str(),
                                     [command](benchmark::State& state) {
                                         for (auto _ : state) {
                                             const double before = childrenSeconds();
                                             if (std::system(command.c_str()) > 1 << 8)
                                                 state.SkipWithError("find failed");
                                             state.SetIterationTime(childrenSeconds() - before);
                                         }
                                         state.counters["manual"] = 1;
                                     })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
}

const bool registered = (registerSearchBenchmarks(), true);

} // namespace
