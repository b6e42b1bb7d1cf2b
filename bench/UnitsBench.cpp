// UnitFileState over every service unit file of the running system, beside
// `systemctl list-unit-files --type=service`, which decides the same states
// for the same units in one process (wall time on both sides: the peer is a
// child process). Divided by the number of units, ours is the time a unit.
#include "BenchSupport.h"

#include "PluginSDK/ScalarExpression.h"
#include "SystemPlugin/ExpressionFactory.h"
#include "SystemPlugin/PluginContext.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <glob.h>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> serviceUnits() {
    std::vector<std::wstring> units;
    glob_t found{};
    if (glob("/lib/systemd/system/*.service", 0, nullptr, &found) == 0)
        for (std::size_t i = 0; i < found.gl_pathc; ++i) {
            const std::string path = found.gl_pathv[i];
            units.emplace_back(path.begin() + static_cast<long>(path.rfind('/') + 1), path.end());
        }
    globfree(&found);
    return units;
}

void registerUnitBenchmarks() {
    const std::vector<std::wstring> units = serviceUnits();
    if (units.empty() || std::system("systemctl --version >/dev/null 2>&1") != 0)
        return;
    benchsupport::registerPair(
        "unitfilestate/" + std::to_string(units.size()) + "-services", "systemctl", 2.0,
        [units](benchmark::State& state) {
            SystemPlugin::PluginContext context;
            std::unique_ptr<PluginSDK::Expression> rule(
                SystemPlugin::createExpression(L"UnitFileState", context));
            auto& scalar = static_cast<PluginSDK::ScalarExpression&>(*rule);
            PluginSDK::String result;
            for (auto _ : state)
                for (const std::wstring& unit : units) {
                    rule->setProperty(L"unit", unit.c_str());
                    scalar.getScalarResult(result);
                    benchmark::DoNotOptimize(result);
                }
        },
        [](benchmark::State& state) {
            for (auto _ : state)
                if (std::system("systemctl --root=/ list-unit-files --type=service --no-pager "
                                ">/dev/null 2>&1") != 0)
                    state.SkipWithError("systemctl failed");
        },
        [](benchmark::internal::Benchmark* benchmark) { benchmark->UseRealTime(); });
}

const bool registered = (registerUnitBenchmarks(), true);

} // namespace
