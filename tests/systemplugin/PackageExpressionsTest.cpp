// PackageInstalled, PackageVersion, InstalledPackages and VersionCompare driven as a host drives
// them: on this machine's database against dpkg-query, and on fixture databases.
#include "support/DpkgStanza.h"
#include "support/HostDriver.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testsupport::dpkgStanza;
using testsupport::SystemDriver;
using testsupport::widen;

// Every package dpkg-query lists on this machine, with a state in which its files are on disk,
// has the version dpkg-query prints; InstalledPackages lists exactly those names.
TEST(PackageExpressions, AgreeWithDpkgQueryOnThisMachine) {
    FILE* pipe = ::popen("dpkg-query -W -f '${Package} ${Version} ${db:Status-Status}\\n'", "r");
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
    dir.write("status",
              dpkgStanza("held", "amd64", "1:2.0-1", "hold ok installed") +
                  dpkgStanza("gone", "amd64", "1.0", "deinstall ok installed") +
                  dpkgStanza("conf", "all", "3", "deinstall ok config-files") +
                  dpkgStanza("half", "amd64", "2~rc1", "install reinstreq half-installed") +
                  dpkgStanza("lib", "amd64", "1.0", ok, same) +
                  dpkgStanza("lib", "i386", "1.1", ok, same) +
                  dpkgStanza("twin", "amd64", "4", ok, same) +
                  dpkgStanza("twin", "i386", "4", ok, same) + dpkgStanza("data", "all", "5", ok) +
                  "Package: purged\nStatus: purge ok not-installed\n");
    SystemDriver host;
    host.plugin().setProperty(L"dpkgAdminDir", widen(dir.path()).c_str());
    // Expression, "package", "architecture" (null: not attached), answer.
    const wchar_t* const cases[][4] = {
        {L"PackageInstalled", L"held", nullptr, L"=0:true"},
        {L"PackageInstalled", L"gone", nullptr, L"=0:true"},
        {L"PackageInstalled", L"conf", nullptr, L"=0:false"},
        {L"PackageInstalled", L"half", nullptr, L"=0:true"},
        {L"PackageInstalled", L"purged", nullptr, L"=0:false"},
        {L"PackageInstalled", L"data", L"amd64", L"=0:false"},
        {L"PackageVersion", L"held", nullptr, L"=0:1:2.0-1"},
        {L"PackageVersion", L"conf", nullptr, L"=-12017:"},
        {L"PackageVersion", L"lib", nullptr, L"=-12023:"},
        {L"PackageVersion", L"lib", L"i386", L"=0:1.1"},
        {L"PackageVersion", L"lib:amd64", nullptr, L"=0:1.0"},
        {L"PackageVersion", L"twin", nullptr, L"=0:4"},
        // Properties are checked before the database is read.
        {L"PackageVersion", nullptr, nullptr, L"=-12001:"},
        {L"PackageInstalled", nullptr, L"all", L"=-12001:"},
        {L"PackageVersion", L"", nullptr, L"=-12002:"},
        {L"PackageVersion", L"lib:", nullptr, L"=-12002:"},
        {L"PackageVersion", L"lib:i386:x", nullptr, L"=-12002:"},
        {L"PackageVersion", L"lib:i386", L"amd64", L"=-12002:"},
        {L"PackageInstalled", L"lib", L"", L"=-12002:"},
    };
    for (const auto& c : cases) {
        auto made = host.create(c[0], {{L"package", c[1]}, {L"architecture", c[2]}});
        EXPECT_EQ(L"=" + SystemDriver::read(*made), c[3]) << (&c - cases);
    }
    host.expectTranscripts({
        {L"InstalledPackages", {}, {L"?"}, L"=0:[data,gone,half,held,lib,twin]"},
        {L"InstalledPackages", {{L"filter", L"h*"}}, {L"?"}, L"=0:[half,held]"},
        {L"InstalledPackages", {{L"filter", L"H*"}}, {L"?"}, L"=0:[]"},
        {L"InstalledPackages",
         {{L"filter", L"H*"}, {L"ignoreCase", L"true"}},
         {L"?"},
         L"=0:[half,held]"},
        {L"InstalledPackages", {{L"ignoreCase", L"yes"}}, {L"?"}, L"=-12002:[]"},
    });

    // A new status file (dpkg renames one into place) is read at the next evaluation.
    dir.write("status.new", dpkgStanza("held", "amd64", "1:2.1-1", "hold ok installed"));
    std::filesystem::rename(dir.at("status.new"), dir.at("status"));
    EXPECT_EQ(host.play(L"PackageVersion", {{L"package", L"held"}}, {L"?"}), L"=0:1:2.1-1");
    EXPECT_EQ(host.play(L"PackageInstalled", {{L"package", L"gone"}}, {L"?"}), L"=0:false");
    // So is a journal entry dpkg adds to updates/.
    std::filesystem::create_directory(dir.at("updates"));
    dir.write("updates/0000", dpkgStanza("held", "amd64", "1:2.2-1", "hold ok installed"));
    EXPECT_EQ(host.play(L"PackageVersion", {{L"package", L"held"}}, {L"?"}), L"=0:1:2.2-1");
}

// A database that cannot be read answers with a code, never with "false".
TEST(PackageExpressions, RefuseDatabasesTheyCannotRead) {
    testsupport::TempDir dir;
    SystemDriver host;
    host.plugin().setProperty(L"dpkgAdminDir", widen(dir.path()).c_str());
    auto answers = [&] {
        return host.play(L"PackageInstalled", {{L"package", L"bash"}}, {L"?"}) + L" " +
               host.play(L"PackageVersion", {{L"package", L"bash"}}, {L"?"}) + L" " +
               host.play(L"InstalledPackages", {}, {L"?"});
    };
    EXPECT_EQ(answers(), L"=-12022: =-12022: =-12022:[]"); // no status file
    dir.write("status", "");
    ASSERT_EQ(::truncate(dir.at("status").c_str(), off_t{1} << 30), 0);
    EXPECT_EQ(answers(), L"=-12012: =-12012: =-12012:[]");
}

// dpkg-query agreement is tests/readers/dpkg.py's; here, lists a package database can be
// given that no dpkg writes: each is refused with a code, none read as "no files".
TEST(PackageExpressions, PackageFilesRefusesHostileLists) {
    testsupport::TempDir dir;
    dir.write("status", dpkgStanza("p", "amd64", "1", "install ok installed") +
                            dpkgStanza("q", "amd64", "1", "install ok installed"));
    ASSERT_EQ(::mkdir(dir.at("info").c_str(), 0755), 0);
    dir.write("info/q.list", "/usr/bin/q\n");
    SystemDriver host;
    host.plugin().setProperty(L"dpkgAdminDir", widen(dir.path()).c_str());
    auto files = [&](const wchar_t* package) {
        return package ? host.play(L"PackageFiles", {{L"package", package}}, {L"?"})
                       : host.play(L"PackageFiles", {}, {L"?"});
    };
    // No list: a package without files, as dpkg takes it.
    EXPECT_EQ(files(L"p"), L"=0:[]");
    EXPECT_EQ(files(L"absent"), L"=-12017:[]");
    ASSERT_EQ(::mkfifo(dir.at("info/p.list").c_str(), 0644), 0);
    EXPECT_EQ(files(L"p"), L"=-12022:[]"); // never opened: a FIFO would block
    EXPECT_EQ(files(nullptr), L"=-12022:[]");
    EXPECT_EQ(files(L"q"), L"=0:[/usr/bin/q]");
    ::unlink(dir.at("info/p.list").c_str());
    ASSERT_EQ(::symlink("/dev/zero", dir.at("info/p.list").c_str()), 0);
    EXPECT_EQ(files(L"p"), L"=-12022:[]"); // endless
    ::unlink(dir.at("info/p.list").c_str());
    ASSERT_EQ(::mkdir(dir.at("info/p.list").c_str(), 0755), 0);
    EXPECT_EQ(files(L"p"), L"=-12022:[]");
    ::rmdir(dir.at("info/p.list").c_str());
    std::string many;
    for (int i = 0; i < 2'000'001; ++i)
        many += "/x\n";
    dir.write("info/p.list", many);
    EXPECT_EQ(files(L"p"), L"=-12012:[]"); // more paths than a system has, even repeated
    dir.write("info/p.list", "/a\n");
    dir.write("info/format", "3\n");
    EXPECT_EQ(files(L"p"), L"=-12022:[]"); // newer than dpkg knows
    dir.write("info/format", "1\n");
    dir.write("diversions", "/a\n/b\n");
    EXPECT_EQ(files(L"p"), L"=-12022:[]"); // a diversion without its owner
    dir.write("diversions", "/a\n/b\nq\n");
    EXPECT_EQ(files(L"p"), L"=0:[/b]");
}

// The order itself is checked against dpkg by version-order-vs-dpkg.py; here, the operator.
TEST(VersionCompareExpression, RelatesVersionsAsDpkgDoes) {
    SystemDriver host;
    std::wstring table; // per relation, a pair less, equal and greater: T or F
    for (const wchar_t* relation : {L"lt", L"le", L"eq", L"ne", L"ge", L"gt"}) {
        for (const wchar_t* first : {L"1.0~rc1", L"0:1.0-0", L"1.0a"}) {
            const std::wstring answer =
                host.play(L"VersionCompare", {{L"relation", relation}}, {first, L"1.0", L"?"});
            table += answer == L"0 0+ =0:true" ? L'T' : answer == L"0 0+ =0:false" ? L'F' : L'?';
        }
        table += L' ';
    }
    EXPECT_EQ(table, L"TFF TTF FTF TFT FTT FFT ");
    host.expectTranscripts({
        {L"VersionCompare", {{L"relation", L"lt"}}, {L"", L"\\~", L"?"}, L"0 0+ =0:true"},
        {L"VersionCompare", {{L"relation", L"lt"}}, {L"1 2", L"1", L"?"}, L"0 0+ =-12019:"},
        {L"VersionCompare", {}, {L"1", L"2", L"?"}, L"0 0+ =-12001:"},
        {L"VersionCompare", {{L"relation", L"LT"}}, {L"1", L"2", L"?"}, L"0 0+ =-12002:"},
        {L"VersionCompare", {{L"relation", L"lt"}}, {L"1", L"?"}, L"0 =-10007:"},
        {L"VersionCompare",
         {{L"relation", L"lt"}},
         {L"1", L"2", L"3", L"~", L"2", L"1", L"?"},
         L"0 0+ -10005+ ~ 0 0+ =0:false"},
    });
}

} // namespace
