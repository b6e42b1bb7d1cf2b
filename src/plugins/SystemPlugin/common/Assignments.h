// The readers that turn the text of a configuration file into the values it
// assigns to one key, each reproducing how the program owning the file reads
// it. They see bytes (UTF-8 passes through untouched). What the program would
// not take as an assignment is left out; a file the program refuses, or one
// whose value cannot be known without running it, is a result code.
#pragma once

#include "PluginSDK/Types.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace SystemPlugin {

// A test on a field of a deb822 stanza ("URIs.matches").
struct FieldTest {
    enum class Kind { Equals, NotEquals, Matches, NotMatches };
    std::string field;
    Kind kind;
    std::string operand;
};

// What a reader looks for: the key and, for systemd files, the section.
struct KeyQuery {
    std::string_view key;
    std::string_view section;
    bool anyScope = false;                              // sudoers: values of scoped lines too
    const std::vector<FieldTest>* fieldTests = nullptr; // deb822: stanzas to read
};

using Values = std::vector<std::string>;

// Reads one file's text, appending the values of `query.key` in the order the
// file assigns them (the program keeps the last one). 0, or -12029 for a file
// the program refuses, -12030 for a value only running the file would tell.
using Reader = TErrorCode (*)(std::string_view text, const KeyQuery& query, Values& values);

// A file sourced by a POSIX shell (os-release, /etc/default/grub).
TErrorCode readShellAssignments(std::string_view text, const KeyQuery& query, Values& values);
// /etc/login.defs as the shadow tools read it.
TErrorCode readLoginDefsAssignments(std::string_view text, const KeyQuery& query, Values& values);
// /etc/default/useradd as useradd reads it.
TErrorCode readUseraddAssignments(std::string_view text, const KeyQuery& query, Values& values);
// A systemd configuration file (journald.conf, logind.conf) as systemd's
// configuration parser reads it: keys of `query.section` only.
TErrorCode readSystemdAssignments(std::string_view text, const KeyQuery& query, Values& values);
// pwquality.conf as libpwquality reads it (keys without regard to case).
TErrorCode readPwqualityAssignments(std::string_view text, const KeyQuery& query, Values& values);
// deb822 stanzas (apt's .sources): the key's value in each stanza passing
// `query.fieldTests`.
TErrorCode readDeb822Assignments(std::string_view text, const KeyQuery& query, Values& values);
// A generic "key = value" file.
TErrorCode readPlainAssignments(std::string_view text, const KeyQuery& query, Values& values);

// The files of one query read in order, for programs whose reading of a file
// depends on the files before it.
class AssignmentReader {
public:
    virtual ~AssignmentReader() = default;
    // The path of the file `read` gets next (where its includes start from).
    virtual void at(const std::string& path) { (void)path; }
    // One file's text: 0, or the code of a file the program refuses.
    virtual TErrorCode read(std::string_view text) = 0;
    // After the last file: the values the key takes, the winner last.
    virtual Values values() = 0;
};

using ReaderMaker = std::unique_ptr<AssignmentReader> (*)(const KeyQuery& query);

// A reader of files that do not depend on each other: each file's values
// follow the values of the files before it.
template <Reader readFile> class EachFileReader : public AssignmentReader {
public:
    explicit EachFileReader(const KeyQuery& query) : m_Query(query) {}
    TErrorCode read(std::string_view text) override { return readFile(text, m_Query, m_Values); }
    Values values() override { return std::move(m_Values); }

private:
    KeyQuery m_Query;
    Values m_Values;
};

// modprobe.d files as libkmod reads them (keys "install MOD", "options MOD").
std::unique_ptr<AssignmentReader> makeModprobeReader(const KeyQuery& query);

template <Reader readFile> std::unique_ptr<AssignmentReader> eachFile(const KeyQuery& query) {
    return std::make_unique<EachFileReader<readFile>>(query);
}

} // namespace SystemPlugin
