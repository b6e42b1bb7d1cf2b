// The readers that turn the text of one configuration file into the values it
// assigns to one key, each reproducing how the program owning the file reads
// it. They see bytes (UTF-8 passes through untouched) and never fail: what the
// program would not take as an assignment is left out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace SystemPlugin {

// What a reader looks for: the key and, for systemd files, the section.
struct KeyQuery {
    std::string_view key;
    std::string_view section;
};

using Values = std::vector<std::string>;

// Each reader appends the values of `query.key` in the order the file assigns
// them (the program keeps the last one).

// A file sourced by a POSIX shell (os-release, /etc/default/grub).
void readShellAssignments(std::string_view text, const KeyQuery& query, Values& values);
// /etc/login.defs as the shadow tools read it.
void readLoginDefsAssignments(std::string_view text, const KeyQuery& query, Values& values);
// /etc/default/useradd as useradd reads it.
void readUseraddAssignments(std::string_view text, const KeyQuery& query, Values& values);
// A sysctl.d file as systemd-sysctl reads it; `query.key` is compared in its
// normalised form (see sysctlNormalise in SysctlName.h).
void readSysctlAssignments(std::string_view text, const KeyQuery& query, Values& values);
// A systemd configuration file (journald.conf, logind.conf): keys of
// `query.section` only.
void readSystemdAssignments(std::string_view text, const KeyQuery& query, Values& values);
// A generic "key = value" file.
void readPlainAssignments(std::string_view text, const KeyQuery& query, Values& values);

// Whether `value` is what the programs read as a decimal integer: optional
// leading blanks, an optional sign, digits, nothing after.
bool isDecimalInteger(std::string_view value);

} // namespace SystemPlugin
