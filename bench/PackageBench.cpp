// dpkg's package database and version order: the first read of this machine's database, a
// lookup in the cached copy, and the comparison of two version texts.
#include "PluginKit/DebianVersion.h"
#include "SystemPlugin/common/PackageCache.h"
#include "SystemPlugin/common/PackageDatabase.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using PluginKit::DebianVersion;
using SystemPlugin::PackageCache;
using SystemPlugin::PackageDatabase;

const std::string kAdminDir = "/var/lib/dpkg";

void BM_PackageDatabaseFirstRead(benchmark::State& state) {
    for (auto _ : state) {
        PackageCache cache;
        std::shared_ptr<const PackageDatabase> database;
        if (cache.get(kAdminDir, database) != PackageDatabase::Outcome::Ok) {
            state.SkipWithError("this machine's package database cannot be read");
            return;
        }
        benchmark::DoNotOptimize(database->installedNames().size());
    }
}
BENCHMARK(BM_PackageDatabaseFirstRead)->Unit(benchmark::kMillisecond);

// One lookup as PackageVersion makes it: the cache checks the files, then finds the name.
void BM_PackageCachedLookup(benchmark::State& state) {
    PackageCache cache;
    std::shared_ptr<const PackageDatabase> database;
    if (cache.get(kAdminDir, database) != PackageDatabase::Outcome::Ok ||
        database->installedNames().empty()) {
        state.SkipWithError("this machine's package database cannot be read");
        return;
    }
    const std::vector<std::string> names = database->installedNames();
    size_t i = 0;
    for (auto _ : state) {
        std::shared_ptr<const PackageDatabase> current;
        cache.get(kAdminDir, current);
        benchmark::DoNotOptimize(current->find(names[i++ % names.size()]).first);
    }
}
BENCHMARK(BM_PackageCachedLookup);

// The lookup alone, without the check of the files (two stat calls) that precedes it.
void BM_PackageFind(benchmark::State& state) {
    PackageCache cache;
    std::shared_ptr<const PackageDatabase> database;
    if (cache.get(kAdminDir, database) != PackageDatabase::Outcome::Ok ||
        database->installedNames().empty()) {
        state.SkipWithError("this machine's package database cannot be read");
        return;
    }
    const std::vector<std::string> names = database->installedNames();
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(database->find(names[i++ % names.size()]).first);
}
BENCHMARK(BM_PackageFind);

// Parsing both texts and comparing them, over the versions installed here.
void BM_VersionCompare(benchmark::State& state) {
    PackageCache cache;
    std::shared_ptr<const PackageDatabase> database;
    std::vector<std::string> versions = {"3.0.15-1~deb12u1", "1:2.38.1-5+deb12u3",
                                         "252.33-1~deb12u1"};
    if (cache.get(kAdminDir, database) == PackageDatabase::Outcome::Ok) {
        for (const auto& instance : database->instances())
            versions.push_back(instance.version);
    }
    size_t i = 0;
    for (auto _ : state) {
        const std::string& a = versions[i % versions.size()];
        const std::string& b = versions[(i * 7 + 3) % versions.size()];
        ++i;
        DebianVersion va;
        DebianVersion vb;
        const bool ok = DebianVersion::parse(a, va) && DebianVersion::parse(b, vb);
        benchmark::DoNotOptimize(ok ? DebianVersion::compare(va, vb) : 2);
    }
}
BENCHMARK(BM_VersionCompare);

} // namespace
