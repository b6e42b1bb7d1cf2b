// Several SystemPlugin instances, each used from several threads, look packages up while dpkg
// (played by one more thread) replaces the status file and adds journal entries: every answer
// is one the database held at some moment, and the sanitizers find no race.
#include "support/DpkgStanza.h"
#include "support/HostDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

using testsupport::SystemDriver;

// Writes a file of many packages, "probe" among them at `version`, and renames it to `name`.
void replace(const testsupport::TempDir& dir, const std::string& name, const std::string& version) {
    std::string text;
    for (int i = 0; i < 100; ++i)
        text +=
            testsupport::dpkgStanza("filler" + std::to_string(i), "all", "1", "hold ok unpacked");
    dir.write("new.tmp",
              text + testsupport::dpkgStanza("probe", "amd64", version, "install ok installed"));
    std::filesystem::rename(dir.at("new.tmp"), dir.at(name));
}

} // namespace

TEST(Threads, PackageLookupsWhileTheDatabaseChanges) {
    testsupport::TempDir dir;
    replace(dir, "status", "1.0");
    std::filesystem::create_directory(dir.at("updates"));
    SystemDriver hosts[3];
    for (SystemDriver& host : hosts)
        host.plugin().setProperty(L"dpkgAdminDir", testsupport::widen(dir.path()).c_str());
    std::atomic<bool> done{false};
    std::thread dpkg([&] {
        for (int round = 0; !done; ++round) {
            replace(dir, "status", round % 2 ? "2.0" : "1.0");
            replace(dir, "updates/0000", "3.0");
            std::filesystem::remove(dir.at("updates/0000"));
            // dpkg needs milliseconds per change; a read that meets a change is made
            // again, a few times (room enough for a reader slowed by a sanitizer).
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    std::vector<std::thread> readers;
    for (int i = 0; i < 6; ++i)
        readers.emplace_back([&, i] {
            SystemDriver& host = hosts[i % 3];
            for (int round = 0; round < 20; ++round) {
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
    replace(dir, "status", "4.0");
    for (SystemDriver& host : hosts)
        EXPECT_EQ(host.play(L"PackageVersion", {{L"package", L"probe"}}, {L"?"}), L"=0:4.0");
}
