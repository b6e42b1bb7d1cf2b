// A KeyValue rule on /etc/os-release (shell syntax, the last VERSION_ID)
// beside a bare open, read and close of the same file.
#include "BenchSupport.h"

#include "PluginSDK/ScalarExpression.h"
#include "SystemPlugin/ExpressionFactory.h"
#include "SystemPlugin/PluginContext.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr const char* kFile = "/etc/os-release";

void registerConfigBenchmarks() {
    if (access(kFile, R_OK) != 0)
        return;
    benchsupport::registerPair(
        "keyvalue/os-release", "open-read-close", 1.5,
        [](benchmark::State& state) {
            SystemPlugin::PluginContext context;
            std::unique_ptr<PluginSDK::Expression> rule(
                SystemPlugin::createExpression(L"KeyValue", context));
            rule->setProperty(L"syntax", L"shell");
            rule->setProperty(L"file", L"/etc/os-release");
            rule->setProperty(L"key", L"VERSION_ID");
            auto& scalar = static_cast<PluginSDK::ScalarExpression&>(*rule);
            PluginSDK::String result;
            for (auto _ : state) {
                if (scalar.getScalarResult(result) != 0)
                    state.SkipWithError("KeyValue failed");
                rule->disposeExpression();
                benchmark::DoNotOptimize(result);
            }
        },
        [](benchmark::State& state) {
            char buffer[4096];
            for (auto _ : state) {
                const int fd = open(kFile, O_RDONLY | O_CLOEXEC);
                ssize_t got = 0;
                while ((got = read(fd, buffer, sizeof buffer)) > 0)
                    benchmark::DoNotOptimize(buffer);
                close(fd);
            }
        });
}

const bool registered = (registerConfigBenchmarks(), true);

} // namespace
