// Audit rules: 1,000 generated rules read as `auditctl -R` reads them and
// given their normal forms, and the AuditRules expression over ten rules files
// of 100 rules each (joined as augenrules joins them), each against its limit.
#include "BenchSupport.h"

#include "PluginSDK/StringVector.h"
#include "SystemPlugin/common/AuditRuleSet.h"
#include "SystemPlugin/cross/AuditRules.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRules = 1000;
constexpr int kFiles = 10;

// Rules as hardening guides write them: system calls of both arches with
// login-uid filters and exit codes, watches of files under /etc (whose
// directory exists everywhere, as the kernel requires), and executables; the
// calls in any order, one -S or several. Keys make every rule distinct.
std::vector<std::string> generatedRules() {
    static const char* const kCalls[] = {
        "open",          "openat",      "creat",        "truncate",     "ftruncate",
        "chmod",         "fchmod",      "fchmodat",     "chown",        "fchown",
        "lchown",        "fchownat",    "unlink",       "unlinkat",     "rename",
        "renameat",      "mount",       "umount2",      "setxattr",     "lsetxattr",
        "fsetxattr",     "removexattr", "adjtimex",     "settimeofday", "sethostname",
        "setdomainname", "init_module", "finit_module", "delete_module"};
    static const char* const kWatched[] = {"/etc/passwd",  "/etc/group",   "/etc/shadow",
                                           "/etc/gshadow", "/etc/hosts",   "/etc/hostname",
                                           "/etc/issue",   "/etc/sudoers", "/etc/localtime"};
    static const char* const kFilters[] = {
        "", " -F auid>=1000 -F auid!=unset", " -F exit=-EACCES -F auid>=1000 -F auid!=4294967295",
        " -F exit=-EPERM -F auid>=1000 -F auid!=-1", " -F euid=0 -F success=0"};
    std::mt19937 random(20261207);
    const auto pick = [&random](std::size_t count) { return random() % count; };
    std::vector<std::string> rules;
    for (int i = 0; i < kRules; ++i) {
        const std::string key = " -k bench-" + std::to_string(i);
        const unsigned kind = random() % 10;
        if (kind < 6) {
            std::string rule =
                std::string("-a always,exit -F arch=") + (random() % 2 ? "b64" : "b32");
            const std::size_t calls = 1 + pick(5);
            for (std::size_t c = 0; c < calls; ++c)
                rule += (c == 0 || random() % 2 ? " -S " : ",") +
                        std::string(kCalls[pick(std::size(kCalls))]);
            rules.push_back(rule + kFilters[pick(std::size(kFilters))] + key);
        } else if (kind < 9) {
            rules.push_back(std::string("-w ") + kWatched[pick(std::size(kWatched))] +
                            (random() % 2 ? " -p wa" : " -p rwxa") + key);
        } else {
            rules.push_back("-a always,exit -F path=/usr/bin/su" + std::to_string(i) +
                            " -F perm=x -F auid>=1000 -F auid!=unset" + key);
        }
    }
    return rules;
}

std::string joined(const std::vector<std::string>& lines, std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t i = from; i < to; ++i)
        (text += lines[i]) += '\n';
    return text;
}

void registerAuditBenchmarks() {
    const std::vector<std::string> rules = generatedRules();
    const std::string text = joined(rules, 0, rules.size());
    benchmark::RegisterBenchmark("AuditRuleSet/normalise/1000", [text](benchmark::State& state) {
        for (auto _ : state) {
            SystemPlugin::AuditRuleSet set(SystemPlugin::machineArch());
            std::size_t line = 0;
            std::string reason;
            if (!set.load(text, line, reason) || set.size() != kRules) {
                state.SkipWithError(
                    ("auditctl would stop at line " + std::to_string(line) + ": " + reason)
                        .c_str());
                return;
            }
            benchmark::DoNotOptimize(set.texts());
        }
        state.counters["limit_ms"] = 10;
    })->Unit(benchmark::kMillisecond);

    static benchsupport::ScratchDir directory;
    for (int file = 0; file < kFiles; ++file) {
        std::ofstream out(directory.path + "/" + std::to_string(10 + file) + "-bench.rules");
        out << joined(rules, rules.size() * file / kFiles, rules.size() * (file + 1) / kFiles);
    }
    const std::wstring files =
        std::wstring(directory.path.begin(), directory.path.end()) + L"/*.rules";
    benchmark::RegisterBenchmark("AuditRules/files/10x100", [files](benchmark::State& state) {
        SystemPlugin::AuditRules probe;
        probe.setProperty(L"file", files.c_str());
        PluginSDK::StringVector result;
        for (auto _ : state) {
            if (probe.getVectorResult(result) != 0 || result.size() != kRules) {
                state.SkipWithError("AuditRules failed");
                return;
            }
        }
        state.counters["limit_ms"] = 10;
    })->Unit(benchmark::kMillisecond);
}

const bool registered = (registerAuditBenchmarks(), true);

} // namespace
