// The package database against dpkg-query reading the same administrative directory.
#include "SystemPlugin/common/PackageDatabase.h"
#include "support/DpkgStanza.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>

namespace {

using SystemPlugin::PackageDatabase;
using testsupport::dpkgStanza;

// The instances dpkg-query lists, but not-installed ones; false when it refuses the database.
bool dpkgQuery(const std::string& adminDir, std::set<std::string>& lines) {
    FILE* pipe = ::popen(("dpkg-query --admindir '" + adminDir +
                          "' -W -f '${Package} ${Architecture} ${Version} ${db:Status-Status}\\n' "
                          "2>/dev/null")
                             .c_str(),
                         "r");
    char line[4096];
    while (pipe && std::fgets(line, sizeof line, pipe) != nullptr)
        if (std::strstr(line, " not-installed\n") == nullptr)
            lines.insert(std::string(line, std::strlen(line) - 1));
    return pipe && ::pclose(pipe) == 0;
}

// Every fixture (a name, the status file, the journal) is read by dpkg-query and by us: the
// same instances, or both refuse.
TEST(PackageDatabase, ReadsFixturesAsDpkgQueryDoes) {
    const std::string ok = "install ok installed", same = "Multi-Arch: same\n";
    const struct {
        const char* name;
        std::string status;
        std::map<std::string, std::string> updates = {};
    } fixtures[] = {
        {"held, deinstalled, config files, half-installed, epochs",
         dpkgStanza("held", "amd64", "1:2.0-1", "hold ok installed") +
             dpkgStanza("gone", "amd64", "1.0", "deinstall ok installed") +
             dpkgStanza("conf", "all", "3", "deinstall ok config-files") +
             dpkgStanza("half", "amd64", "2~rc1", "install reinstreq half-installed") +
             dpkgStanza("unp", "amd64", "5", "install ok unpacked") +
             dpkgStanza("trig", "all", "6", "install ok triggers-pending",
                        "Triggers-Pending: x\n") +
             "Package: purged\nStatus: purge ok not-installed\n",
         {}},
        {"journal applied in numeric order, other names ignored",
         dpkgStanza("a", "amd64", "1", ok) + dpkgStanza("b", "all", "1", ok),
         {{"0001", dpkgStanza("a", "amd64", "2", ok)},
          {"0002", dpkgStanza("a", "amd64", "3", ok) + dpkgStanza("c", "all", "1", ok)},
          {"0003", "Package: b\nStatus: purge ok not-installed\n"},
          {"abcd", dpkgStanza("z", "all", "9", ok)},
          {"tmp.i", dpkgStanza("y", "all", "9", ok)}}},
        {"two architectures",
         dpkgStanza("lib", "amd64", "1.0", ok, same) + dpkgStanza("lib", "i386", "1.1", ok, same)},
        {"lower-case field names, continuations, CRLF, blanks around values",
         "package: x\nstatus:  install ok installed  \nversion: 1\r\narchitecture: all\n"
         "Description: d\n more\n .\n"},
        {"lines of blanks in a stanza and between stanzas",
         dpkgStanza("a", "all", "1", ok, "  \n\r\n") + "Package: b\n"},
        {"journal entry for another architecture",
         dpkgStanza("a", "i386", "1", ok),
         {{"0001", "Package: a\nStatus: purge ok not-installed\nArchitecture: amd64\n"}}},
        {"journal entry for two multi-arch instances",
         dpkgStanza("l", "amd64", "1", ok, same) + dpkgStanza("l", "i386", "1", ok, same),
         {{"0001", "Package: l\nStatus: purge ok not-installed\n"}}},
        {"journal names of two lengths",
         dpkgStanza("a", "all", "1", ok),
         {{"0001", dpkgStanza("a", "all", "2", ok)}, {"12", dpkgStanza("a", "all", "3", ok)}}},
        {"unknown state", dpkgStanza("a", "all", "1", "install ok bogus")},
        {"two words of status", dpkgStanza("a", "all", "1", "install ok")},
        {"old flag", dpkgStanza("a", "all", "1", "hold hold installed")},
        {"no final newline", "Package: a\nStatus: install ok installed\nVersion: 1"},
        {"field twice", dpkgStanza("a", "all", "1", ok, "Package: b\n")},
        {"line without colon", dpkgStanza("a", "all", "1", ok, "Foo\n")},
        {"stanza starting with a blank", " Package: a\n"},
        {"no package", "Status: install ok installed\nVersion: 1\n"},
        {"blank in a name", dpkgStanza("a b", "all", "1", ok)},
        {"refused version", dpkgStanza("a", "all", "1:", ok)},
        {"installed without version", "Package: a\nStatus: install ok installed\n"},
        {"triggers pending without triggers",
         dpkgStanza("a", "all", "1", "install ok triggers-pending")},
        {"one name twice on one architecture",
         dpkgStanza("a", "all", "1", ok) + dpkgStanza("a", "all", "2", ok)},
        {"two architectures, not multi-arch",
         dpkgStanza("a", "amd64", "1", ok) + dpkgStanza("a", "i386", "1", ok)},
        {"broken journal entry",
         dpkgStanza("a", "all", "1", ok),
         {{"0001", "Package: a\nVersion"}}},
    };
    for (const auto& fixture : fixtures) {
        SCOPED_TRACE(fixture.name);
        testsupport::TempDir dir;
        dir.write("status", fixture.status);
        std::filesystem::create_directory(dir.at("updates"));
        for (const auto& [name, text] : fixture.updates)
            dir.write("updates/" + name, text);
        std::set<std::string> expected, ours;
        const bool dpkgReads = dpkgQuery(dir.path(), expected);
        PackageDatabase database;
        ASSERT_EQ(PackageDatabase::load(dir.path(), database),
                  dpkgReads ? PackageDatabase::Outcome::Ok : PackageDatabase::Outcome::Unreadable);
        if (!dpkgReads)
            continue;
        for (const auto& p : database.instances())
            if (p.state != "not-installed")
                ours.insert(p.name + " " + p.architecture + " " + p.version + " " + p.state);
        EXPECT_EQ(ours, expected);
    }
}

// A hostile database cannot make the reader hold gigabytes: too many stanzas or fields in one.
TEST(PackageDatabase, RefusesMoreStanzasOrFieldsThanItsLimits) {
    std::string text = "Package: a\n";
    for (size_t i = 0; i < PackageDatabase::kMaxFields; ++i)
        text += "X-" + std::to_string(i) + ": v\n";
    EXPECT_EQ(PackageDatabase().apply(text), PackageDatabase::Outcome::TooLarge);
    text.clear();
    for (size_t i = 0; i <= PackageDatabase::kMaxInstances; ++i)
        text += "Package: p" + std::to_string(i) + "\n\n";
    EXPECT_EQ(PackageDatabase().apply(text), PackageDatabase::Outcome::TooLarge);
}

} // namespace
