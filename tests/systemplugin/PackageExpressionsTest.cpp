// PackageInstalled, PackageVersion, InstalledPackages and VersionCompare driven as a host drives
// them: on this machine's database against dpkg-query, and on fixture databases.
#include "support/HostDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <unistd.h>

namespace {

using testsupport::Script;
using testsupport::SystemDriver;
using testsupport::widen;

std::string stanza(const std::string& name, const std::string& arch, const std::string& version,
                   const std::string& status, const std::string& extra = "") {
    return "Package: " + name + "\nStatus: " + status + "\nArchitecture: " + arch +
           "\nVersion: " + version + "\n" + extra + "\n";
}

// Every package dpkg-query lists on this machine, with a state in which its files are on disk,
// has the version dpkg-query prints; InstalledPackages lists exactly those names.
TEST(PackageExpressions, AgreeWithDpkgQueryOnThisMachine) {
    FILE* pipe = ::popen("dpkg-query -W -f '${Package} ${Version} ${db:Status-Status}\\n' "
                         "2>/dev/null",
                         "r");
    ASSERT_NE(pipe, nullptr);
    std::map<std::string, std::set<std::string>> versions;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        char name[1024], version[1024], state[64];
        if (std::sscanf(line, "%1023s %1023s %63s", name, version, state) == 3 &&
            std::string(state) != "not-installed" && std::string(state) != "config-files")
            versions[name].insert(version);
    }
    if (::pclose(pipe) != 0 || versions.empty())
        GTEST_SKIP() << "dpkg-query cannot list this machine's packages";

    SystemDriver host;
    std::wstring names;
    for (const auto& [name, found] : versions) {
        const std::wstring wide = widen(name);
        const std::wstring expected =
            found.size() == 1 ? L"=0:" + widen(*found.begin()) : L"=-12023:";
        EXPECT_EQ(host.play(L"PackageVersion", {{L"package", wide.c_str()}}, {L"?"}), expected);
        EXPECT_EQ(host.play(L"PackageInstalled", {{L"package", wide.c_str()}}, {L"?"}), L"=0:true");
        names += (names.empty() ? L"" : L",") + wide;
    }
    EXPECT_EQ(host.play(L"InstalledPackages", {}, {L"?"}), L"=0:[" + names + L"]");
}

TEST(PackageExpressions, AnswerFromAFixtureDatabase) {
    testsupport::TempDir dir;
    const std::string ok = "install ok installed";
    const std::string same = "Multi-Arch: same\n";
    dir.write("status", stanza("held", "amd64", "1:2.0-1", "hold ok installed") +
                            stanza("gone", "amd64", "1.0", "deinstall ok installed") +
                            stanza("conf", "all", "3", "deinstall ok config-files") +
                            stanza("half", "amd64", "2~rc1", "install reinstreq half-installed") +
                            stanza("lib", "amd64", "1.0", ok, same) +
                            stanza("lib", "i386", "1.1", ok, same) +
                            stanza("twin", "amd64", "4", ok, same) +
                            stanza("twin", "i386", "4", ok, same) + stanza("data", "all", "5", ok) +
                            "Package: purged\nStatus: purge ok "
                            "not-installed\n");
    SystemDriver host;
    host.plugin().setProperty(L"dpkgAdminDir", widen(dir.path()).c_str());
    host.expectTranscripts({
        {L"PackageInstalled", {{L"package", L"held"}}, {L"?"}, L"=0:true"},
        {L"PackageInstalled", {{L"package", L"gone"}}, {L"?"}, L"=0:true"},
        {L"PackageInstalled", {{L"package", L"conf"}}, {L"?"}, L"=0:false"},
        {L"PackageInstalled", {{L"package", L"half"}}, {L"?"}, L"=0:true"},
        {L"PackageInstalled", {{L"package", L"purged"}}, {L"?"}, L"=0:false"},
        {L"PackageInstalled", {{L"package", L"Held"}}, {L"?"}, L"=0:false"},
        {L"PackageInstalled",
         {{L"package", L"data"}, {L"architecture", L"amd64"}},
         {L"?"},
         L"=0:false"},
        {L"PackageInstalled", {{L"package", L"data:all"}}, {L"?"}, L"=0:true"},
        {L"PackageVersion", {{L"package", L"held"}}, {L"?"}, L"=0:1:2.0-1"},
        {L"PackageVersion", {{L"package", L"conf"}}, {L"?"}, L"=-12017:"},
        {L"PackageVersion", {{L"package", L"nothing"}}, {L"?"}, L"=-12017:"},
        {L"PackageVersion", {{L"package", L"lib"}}, {L"?"}, L"=-12023:"},
        {L"PackageVersion", {{L"package", L"lib"}, {L"architecture", L"i386"}}, {L"?"}, L"=0:1.1"},
        {L"PackageVersion", {{L"package", L"lib:amd64"}}, {L"?"}, L"=0:1.0"},
        {L"PackageVersion",
         {{L"package", L"lib:amd64"}, {L"architecture", L"amd64"}},
         {L"?"},
         L"=0:1.0"},
        {L"PackageVersion", {{L"package", L"twin"}}, {L"?"}, L"=0:4"},
        // Properties are checked before the database is read.
        {L"PackageVersion", {}, {L"?"}, L"=-12001:"},
        {L"PackageInstalled", {{L"architecture", L"all"}}, {L"?"}, L"=-12001:"},
        {L"PackageVersion", {{L"package", L""}}, {L"?"}, L"=-12002:"},
        {L"PackageVersion", {{L"package", L"lib:"}}, {L"?"}, L"=-12002:"},
        {L"PackageVersion", {{L"package", L"lib:i386:x"}}, {L"?"}, L"=-12002:"},
        {L"PackageVersion",
         {{L"package", L"lib:i386"}, {L"architecture", L"amd64"}},
         {L"?"},
         L"=-12002:"},
        {L"PackageInstalled", {{L"package", L"a b"}}, {L"?"}, L"=-12002:"},
        {L"PackageInstalled", {{L"package", L"lib"}, {L"architecture", L""}}, {L"?"}, L"=-12002:"},
        {L"InstalledPackages", {}, {L"?"}, L"=0:[data,gone,half,held,lib,twin]"},
        {L"InstalledPackages", {{L"filter", L"h*"}}, {L"?"}, L"=0:[half,held]"},
        {L"InstalledPackages", {{L"filter", L"H*"}}, {L"?"}, L"=0:[]"},
        {L"InstalledPackages",
         {{L"filter", L"H*"}, {L"ignoreCase", L"true"}},
         {L"?"},
         L"=0:[half,held]"},
        {L"InstalledPackages",
         {{L"filter", L"h*"}, {L"ignoreCase", L"yes"}},
         {L"?"},
         L"=-12002:[]"},
    });

    // A new status file (dpkg renames one into place) is read at the next evaluation.
    dir.write("status.new", stanza("held", "amd64", "1:2.1-1", "hold ok installed"));
    std::filesystem::rename(dir.at("status.new"), dir.at("status"));
    EXPECT_EQ(host.play(L"PackageVersion", {{L"package", L"held"}}, {L"?"}), L"=0:1:2.1-1");
    EXPECT_EQ(host.play(L"PackageInstalled", {{L"package", L"gone"}}, {L"?"}), L"=0:false");
    // So is a journal entry dpkg adds to updates/.
    std::filesystem::create_directory(dir.at("updates"));
    dir.write("updates/0000", stanza("held", "amd64", "1:2.2-1", "hold ok installed"));
    EXPECT_EQ(host.play(L"PackageVersion", {{L"package", L"held"}}, {L"?"}), L"=0:1:2.2-1");
}

// A database that cannot be read answers with a code, never with "false".
TEST(PackageExpressions, RefuseDatabasesTheyCannotRead) {
    testsupport::TempDir dir;
    SystemDriver host;
    host.plugin().setProperty(L"dpkgAdminDir", widen(dir.path()).c_str());
    const std::initializer_list<Script> probes = {
        {L"PackageInstalled", {{L"package", L"bash"}}, {L"?"}, L"=CODE:"},
        {L"PackageVersion", {{L"package", L"bash"}}, {L"?"}, L"=CODE:"},
        {L"InstalledPackages", {}, {L"?"}, L"=CODE:[]"},
    };
    auto expectAll = [&](const std::wstring& code) {
        for (const Script& probe : probes) {
            std::wstring expected = probe.transcript;
            expected.replace(1, 4, code);
            EXPECT_EQ(host.play(probe.name, probe.properties, probe.steps), expected) << probe.name;
        }
    };
    expectAll(L"-12022"); // no status file
    dir.write("status", "Package: bash\nStatus: install ok installed\nVersion: 5\n"
                        "Architecture: amd64"); // cut short
    expectAll(L"-12022");
    dir.write("status", "");
    ASSERT_EQ(::truncate(dir.at("status").c_str(), off_t{1} << 30), 0);
    const auto start = std::chrono::steady_clock::now();
    expectAll(L"-12012");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(VersionCompareExpression, RelatesVersionsAsDpkgDoes) {
    SystemDriver host;
    host.expectTranscripts({
        {L"VersionCompare", {{L"relation", L"lt"}}, {L"1.0", L"1.0-1", L"?"}, L"0 0+ =0:true"},
        {L"VersionCompare", {{L"relation", L"eq"}}, {L"1.0", L"0:1.0-0", L"?"}, L"0 0+ =0:true"},
        {L"VersionCompare", {{L"relation", L"lt"}}, {L"1.0~rc1", L"1.0", L"?"}, L"0 0+ =0:true"},
        {L"VersionCompare", {{L"relation", L"gt"}}, {L"1.0a", L"1.0+", L"?"}, L"0 0+ =0:false"},
        {L"VersionCompare",
         {{L"relation", L"ge"}},
         {L"3.0.15-1~deb12u1", L"3.0.15-1~deb12u1", L"?"},
         L"0 0+ =0:true"},
        {L"VersionCompare",
         {{L"relation", L"gt"}},
         {L"1.100000000000000000000000000000000000000", L"1.99999999999999999999999", L"?"},
         L"0 0+ =0:true"},
        {L"VersionCompare", {{L"relation", L"le"}}, {L"", L"\\~", L"?"}, L"0 0+ =0:true"},
        {L"VersionCompare", {{L"relation", L"ne"}}, {L"1:0", L"9", L"?"}, L"0 0+ =0:true"},
        {L"VersionCompare", {{L"relation", L"lt"}}, {L"1 2", L"1", L"?"}, L"0 0+ =-12019:"},
        {L"VersionCompare",
         {{L"relation", L"lt"}},
         {L"1", L"2147483648:1", L"?"},
         L"0 0+ =-12019:"},
        {L"VersionCompare", {}, {L"1", L"2", L"?"}, L"0 0+ =-12001:"},
        {L"VersionCompare", {{L"relation", L"LT"}}, {L"1", L"2", L"?"}, L"0 0+ =-12002:"},
        {L"VersionCompare", {{L"relation", L"lt"}}, {L"1", L"?"}, L"0 =-10007:"},
        {L"VersionCompare",
         {{L"relation", L"lt"}},
         {L"1", L"2", L"3", L"?"},
         L"0 0+ -10005+ =0:true"},
        {L"VersionCompare",
         {{L"relation", L"lt"}},
         {L"2", L"1", L"~", L"1", L"2", L"?"},
         L"0 0+ ~ 0 0+ =0:true"},
    });
}

} // namespace
