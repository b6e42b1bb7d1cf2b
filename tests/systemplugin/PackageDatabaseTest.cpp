// The package database against dpkg-query reading the same administrative directory.
#include "SystemPlugin/common/PackageDatabase.h"
#include "SystemPlugin/common/PackageCache.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <sys/stat.h>

namespace {

using SystemPlugin::PackageDatabase;
using Outcome = PackageDatabase::Outcome;

// What dpkg-query lists as present (name, architecture, version, state), or nullopt when it
// refuses the database.
bool dpkgQuery(const std::string& adminDir, std::set<std::string>& lines) {
    const std::string command = "dpkg-query --admindir '" + adminDir +
                                "' -W -f '${Package} ${Architecture} ${Version} "
                                "${db:Status-Status}\\n' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return false;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        std::string line(buffer);
        line.pop_back();
        if (line.size() < 14 || line.compare(line.size() - 14, 14, " not-installed") != 0)
            lines.insert(line);
    }
    return ::pclose(pipe) == 0;
}

std::set<std::string> ours(const PackageDatabase& database) {
    std::set<std::string> lines;
    for (const auto& p : database.instances()) {
        if (p.state != "not-installed")
            lines.insert(p.name + " " + p.architecture + " " + p.version + " " + p.state);
    }
    return lines;
}

std::string stanza(const std::string& name, const std::string& arch, const std::string& version,
                   const std::string& status, const std::string& extra = "") {
    return "Package: " + name + "\nStatus: " + status + "\nArchitecture: " + arch +
           "\nVersion: " + version + "\nMaintainer: m\nDescription: d\n" + extra;
}

struct Fixture {
    const char* name;
    std::string status;
    std::map<std::string, std::string> updates;
};

// Every fixture is read by dpkg-query and by us: the same instances, or both refuse.
TEST(PackageDatabase, ReadsFixturesAsDpkgQueryDoes) {
    const std::string ok = "install ok installed";
    const Fixture fixtures[] = {
        {"held, deinstalled, config files, half-installed, epochs",
         stanza("held", "amd64", "1:2.0-1", "hold ok installed") + "\n" +
             stanza("gone", "amd64", "1.0", "deinstall ok installed") + "\n" +
             stanza("conf", "all", "3", "deinstall ok config-files") + "\n" +
             stanza("half", "amd64", "2~rc1", "install reinstreq half-installed") + "\n" +
             stanza("unp", "amd64", "5", "install ok unpacked") + "\n" +
             stanza("trig", "all", "6", "install ok triggers-pending", "Triggers-Pending: x\n") +
             "\nPackage: purged\nStatus: purge ok not-installed\n",
         {}},
        {"journal applied in numeric order, other names ignored",
         stanza("a", "amd64", "1", ok) + "\n" + stanza("b", "all", "1", ok),
         {{"0001", stanza("a", "amd64", "2", ok)},
          {"0002", stanza("a", "amd64", "3", ok) + "\n" + stanza("c", "all", "1", ok)},
          {"0003", "Package: b\nStatus: purge ok not-installed\n"},
          {"abcd", stanza("z", "all", "9", ok)},
          {"tmp.i", stanza("y", "all", "9", ok)}}},
        {"two architectures",
         stanza("lib", "amd64", "1.0", ok, "Multi-Arch: same\n") + "\n" +
             stanza("lib", "i386", "1.1", ok, "Multi-Arch: same\n"),
         {}},
        {"lower-case field names, continuations, CRLF, blanks around values",
         "package: x\nstatus:  install ok installed  \nversion: 1\r\narchitecture: all\n"
         "Description: d\n more\n .\n",
         {}},
        {"empty", "", {}},
        {"journal names of two lengths",
         stanza("a", "all", "1", ok),
         {{"0001", stanza("a", "all", "2", ok)}, {"12", stanza("a", "all", "3", ok)}}},
        {"unknown state", stanza("a", "all", "1", "install ok bogus"), {}},
        {"two words of status", stanza("a", "all", "1", "install ok"), {}},
        {"old flag", stanza("a", "all", "1", "hold hold installed"), {}},
        {"no final newline", "Package: a\nStatus: install ok installed\nVersion: 1", {}},
        {"field twice", stanza("a", "all", "1", ok, "Package: b\n"), {}},
        {"lines of blanks in a stanza and between stanzas",
         stanza("a", "all", "1", ok, "  \n\r\n\nPackage: b\n"),
         {}},
        {"journal entry without architecture",
         stanza("a", "i386", "1", ok),
         {{"0001", "Package: a\nStatus: purge ok not-installed\nArchitecture: amd64\n"}}},
        {"journal entry for two multi-arch instances",
         stanza("l", "amd64", "1", ok, "Multi-Arch: same\n") + "\n" +
             stanza("l", "i386", "1", ok, "Multi-Arch: same\n"),
         {{"0001", "Package: l\nStatus: purge ok not-installed\n"}}},
        {"line without colon", stanza("a", "all", "1", ok, "Foo\n"), {}},
        {"stanza starting with a blank", " Package: a\n", {}},
        {"no package", "Status: install ok installed\nVersion: 1\n", {}},
        {"blank in a name", stanza("a b", "all", "1", ok), {}},
        {"refused version", stanza("a", "all", "1:", ok), {}},
        {"installed without version", "Package: a\nStatus: install ok installed\n", {}},
        {"triggers pending without triggers",
         stanza("a", "all", "1", "install ok triggers-pending"),
         {}},
        {"one name twice on one architecture",
         stanza("a", "all", "1", ok) + "\n" + stanza("a", "all", "2", ok),
         {}},
        {"two architectures, not multi-arch",
         stanza("a", "amd64", "1", ok) + "\n" + stanza("a", "i386", "1", ok),
         {}},
        {"broken journal entry", stanza("a", "all", "1", ok), {{"0001", "Package: a\nVersion"}}},
    };
    for (const Fixture& fixture : fixtures) {
        SCOPED_TRACE(fixture.name);
        testsupport::TempDir dir;
        dir.write("status", fixture.status);
        ::mkdir(dir.at("updates").c_str(), 0755);
        for (const auto& [name, text] : fixture.updates)
            dir.write("updates/" + name, text);
        std::set<std::string> expected;
        const bool dpkgReads = dpkgQuery(dir.path(), expected);
        PackageDatabase database;
        const Outcome outcome = PackageDatabase::load(dir.path(), database);
        EXPECT_EQ(outcome, dpkgReads ? Outcome::Ok : Outcome::Unreadable);
        if (dpkgReads && outcome == Outcome::Ok) {
            EXPECT_EQ(ours(database), expected);
        }
    }
}

} // namespace
