// Several SystemPlugin instances, each used from several threads, look packages up while dpkg
// (played by one more thread) replaces the status file and adds journal entries: every answer
// is one the database held at some moment, and the sanitizers find no race.
#include "support/HostDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using testsupport::SystemDriver;

constexpr int kInstances = 3;
constexpr int kThreadsPerInstance = 2;
constexpr int kRounds = 20;

// A status file of many packages, "probe" among them at `version`.
std::string statusWith(const std::string& version) {
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "Package: filler" + std::to_string(i) +
                "\nStatus: install ok installed\nArchitecture: all\nVersion: 1." +
                std::to_string(i) + "\n\n";
    return text + "Package: probe\nStatus: install ok installed\nArchitecture: amd64\nVersion: " +
           version + "\n";
}

} // namespace

TEST(Threads, PackageLookupsWhileTheDatabaseChanges) {
    testsupport::TempDir dir;
    dir.write("status", statusWith("1.0"));
    std::filesystem::create_directory(dir.at("updates"));
    std::vector<std::unique_ptr<SystemDriver>> hosts;
    for (int i = 0; i < kInstances; ++i) {
        hosts.push_back(std::make_unique<SystemDriver>());
        hosts.back()->plugin().setProperty(L"dpkgAdminDir", testsupport::widen(dir.path()).c_str());
    }

    std::atomic<bool> done{false};
    std::thread dpkg([&] {
        for (int round = 0; !done; ++round) {
            // A new status file renamed into place, then a journal entry dpkg would write.
            dir.write("status.new", statusWith(round % 2 ? "2.0" : "1.0"));
            std::filesystem::rename(dir.at("status.new"), dir.at("status"));
            dir.write("updates/tmp.i", "Package: probe\nStatus: install ok installed\n"
                                       "Architecture: amd64\nVersion: 3.0\n");
            std::filesystem::rename(dir.at("updates/tmp.i"), dir.at("updates/0000"));
            std::filesystem::remove(dir.at("updates/0000"));
            // dpkg needs milliseconds per change; a read that meets a change is made again.
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    std::vector<std::thread> readers;
    for (int i = 0; i < kInstances * kThreadsPerInstance; ++i)
        readers.emplace_back([&, i] {
            SystemDriver& host = *hosts[i % kInstances];
            for (int round = 0; round < kRounds; ++round) {
                const std::wstring version =
                    host.play(L"PackageVersion", {{L"package", L"probe"}}, {L"?"});
                EXPECT_TRUE(version == L"=0:1.0" || version == L"=0:2.0" || version == L"=0:3.0")
                    << std::string(version.begin(), version.end());
                EXPECT_EQ(host.play(L"InstalledPackages", {{L"filter", L"pro*"}}, {L"?"}),
                          L"=0:[probe]");
            }
        });
    for (std::thread& reader : readers)
        reader.join();
    done = true;
    dpkg.join();
    // Once dpkg is quiet, every instance reads the last state.
    dir.write("status.new", statusWith("4.0"));
    std::filesystem::rename(dir.at("status.new"), dir.at("status"));
    for (auto& host : hosts)
        EXPECT_EQ(host->play(L"PackageVersion", {{L"package", L"probe"}}, {L"?"}), L"=0:4.0");
}
