// Several plug-in instances in one process, each created, set, used and
// cleaned up on its own thread, while other threads evaluate the mount probes
// of one shared instance: every answer stays right, and the sanitizer builds
// (ThreadSanitizer in the "tsan" preset) find no race and no freed store.
#include "PluginSDK/Configuration.h"
#include "support/HostDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using testsupport::HostDriver;

namespace {

constexpr int kThreads = 4;
constexpr int kRounds = 25;

// One instance's life, round after round, with the setting stored and an
// operator and an operand evaluated in between.
void instanceRounds() {
    for (int round = 0; round < kRounds; ++round) {
        HostDriver host;
        host.plugin().setProperty(L"defaultWindowsRegistrySection", round % 2 ? L"64" : L"32or64");
        EXPECT_EQ(host.play(L"Compare", {{L"type", L"version"}, {L"relation", L"ge"}},
                            {L"1.10", L"1.9", L"?"}),
                  L"0 0+ =0:true");
        EXPECT_EQ(
            host.play(L"StringCrop",
                      {{L"inputString", L"a(b)c"}, {L"startString", L"("}, {L"endString", L")"}},
                      {L"?"}),
            L"=0:b");
    }
}

std::wstring mountAnswers(HostDriver& host, const wchar_t* path) {
    std::wstring answers;
    for (const wchar_t* probe : {L"MountServer", L"MountPath", L"MountRemotePath"})
        answers += host.play(probe, {{L"absolutePath", path}}, {L"?"}) + L" ";
    return answers;
}

} // namespace

TEST(Threads, InstancesComeAndGoWhileOthersEvaluate) {
    HostDriver shared;
    const wchar_t* const paths[] = {L"/", L"/proc/self/status", L"/tmp/x", L"relative"};
    std::vector<std::wstring> expected;
    for (const wchar_t* path : paths)
        expected.push_back(mountAnswers(shared, path));

    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back(instanceRounds);
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back([&] {
            for (int round = 0; round < kRounds; ++round)
                for (std::size_t p = 0; p < expected.size(); ++p)
                    EXPECT_EQ(mountAnswers(shared, paths[p]), expected[p]) << round;
        });
    for (std::thread& thread : threads)
        thread.join();

    // The store all instances share is still there, and empty after the last cleanup.
    PluginSDK::Configuration* store = nullptr;
    ASSERT_EQ(PluginSDK::Configuration::get(L"CorePlugin", store), 0);
    EXPECT_EQ(store->getProperty(L"defaultWindowsRegistrySection"), nullptr);
}

// initializePlugin run again while probes evaluate: every answer comes from a
// whole table (the one before or the one after), or is -400; never an empty
// answer with 0 from a table that was being replaced.
TEST(Threads, ProbesAnswerFromAWholeTableWhileThePluginIsInitialisedAgain) {
    HostDriver shared;
    const wchar_t* const probes[] = {L"MountPath", L"MountRemotePath"};
    std::vector<std::wstring> expected;
    for (const wchar_t* probe : probes)
        expected.push_back(shared.play(probe, {{L"absolutePath", L"/proc/self/status"}}, {L"?"}));
    ASSERT_EQ(expected[0], L"=0:/proc");

    std::atomic<bool> done{false};
    std::vector<std::thread> threads;
    threads.emplace_back([&] {
        for (int round = 0; round < kRounds * 8; ++round)
            EXPECT_EQ(shared.plugin().initializePlugin(), 0);
        done = true;
    });
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back([&] {
            while (!done)
                for (std::size_t p = 0; p < expected.size(); ++p) {
                    const std::wstring answer =
                        shared.play(probes[p], {{L"absolutePath", L"/proc/self/status"}}, {L"?"});
                    EXPECT_TRUE(answer == expected[p] || answer == L"=-400:") << answer;
                }
        });
    for (std::thread& thread : threads)
        thread.join();
}
