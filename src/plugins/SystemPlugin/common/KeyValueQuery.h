// What KeyValue and KeyValues share: the properties checked in their order,
// the files read ("file", the drop-ins) with the syntax's reader, and the
// values the files assign to the key.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/Expression.h"
#include "SystemPlugin/common/Assignments.h"
#include "SystemPlugin/common/ProbeChecks.h"
#include "SystemPlugin/common/PropertyRows.h"
#include "SystemPlugin/common/SshdMatch.h"

#include <optional>
#include <string>

namespace SystemPlugin {

// Whose reading of a file a key is read by.
inline constexpr const wchar_t* kSyntaxNames[] = {
    L"shell", L"logindefs", L"useradd",  L"sysctl", L"systemd", L"sshd",
    L"plain", L"pwquality", L"modprobe", L"apt",    L"sudoers", L"deb822"};

// The deb822 fields a stanza can be chosen by ("URIs.matches"), and the tests.
inline constexpr const wchar_t* kDeb822Fields[] = {
    L"Types",         L"URIs",    L"Suites",  L"Components", L"Enabled", L"Signed-By",
    L"Architectures", L"Trusted", L"Package", L"Status",     L"Version", L"Source"};
inline constexpr const wchar_t* kDeb822Tests[] = {L"equals", L"notEquals", L"matches",
                                                  L"notMatches"};

// The rows of the properties KeyValue and KeyValues share, in order.
constexpr PluginKit::PropertyInfo syntaxRow() {
    return PluginKit::oneOf(PluginKit::required(L"syntax", RC_PROPERTY_MISSING,
                                                "whose reading of the file to reproduce"),
                            kSyntaxNames, RC_PROPERTY_VALUE_INVALID);
}
// The syntaxes that read without "file", that take "section", "dropins", "match".
inline constexpr const wchar_t* kFileFreeSyntaxes[] = {kSyntaxNames[3], kSyntaxNames[8],
                                                       kSyntaxNames[9], kSyntaxNames[10]};
inline constexpr const wchar_t* kSectionSyntaxes[] = {kSyntaxNames[4]};
inline constexpr const wchar_t* kDropinSyntaxes[] = {kSyntaxNames[3], kSyntaxNames[4]};
inline constexpr const wchar_t* kMatchSyntaxes[] = {kSyntaxNames[5], kSyntaxNames[10]};
// The syntaxes whose files read one by one ("each"), and the one of field tests.
inline constexpr const wchar_t* kStandaloneSyntaxes[] = {
    kSyntaxNames[0], kSyntaxNames[1],  kSyntaxNames[2], kSyntaxNames[6],
    kSyntaxNames[9], kSyntaxNames[10], kSyntaxNames[11]};
inline constexpr const wchar_t* kFieldTestSyntaxes[] = {kSyntaxNames[11]};

// A test on a deb822 field: "FIELD" stands for one of kDeb822Fields.
constexpr PluginKit::PropertyInfo fieldTestRow(const wchar_t* name, const char* note) {
    PluginKit::PropertyInfo property =
        PluginKit::appliesWhen(PluginKit::optional(name, note), L"syntax", kFieldTestSyntaxes, 0,
                               RC_PROPERTY_VALUE_INVALID);
    property.placeholder = L"FIELD";
    property.nameParts = kDeb822Fields;
    return property;
}
constexpr PluginKit::PropertyInfo keyFileRow() {
    return PluginKit::appliesUnless(
        pathsRow(PluginKit::optional(
            L"file", "paths separated by `;` (globs allowed); for `apt`, a path ending in `/` is "
                     "a parts directory")),
        L"syntax", kFileFreeSyntaxes, RC_PROPERTY_MISSING, 0);
}
constexpr PluginKit::PropertyInfo keyRow() {
    return PluginKit::required(L"key", RC_PROPERTY_MISSING);
}
constexpr PluginKit::PropertyInfo sectionRow() {
    return PluginKit::appliesWhen(PluginKit::optional(L"section", "the `[Section]`"), L"syntax",
                                  kSectionSyntaxes, RC_PROPERTY_MISSING, RC_PROPERTY_VALUE_INVALID);
}
constexpr PluginKit::PropertyInfo dropinsRow() {
    return PluginKit::appliesWhen(
        PluginKit::optional(L"dropins", "the drop-in directory below /etc, /run, /usr/local/lib "
                                        "and /usr/lib; `\"\"` reads none"),
        L"syntax", kDropinSyntaxes, 0, RC_PROPERTY_VALUE_INVALID);
}
// `anyToo`: KeyValues, which also takes "any".
// A connection as sshd -C takes it: NAME=VALUE items separated by ','; a port
// that is no number and no service name is found only when the node is read.
inline constexpr const char kConnectionShape[] =
    "((user|host|addr|laddr|rdomain)=[^,]*|lport=[^,]+)"
    "(,((user|host|addr|laddr|rdomain)=[^,]*|lport=[^,]+))*";
inline constexpr const char kConnectionOrAnyShape[] =
    "any|((user|host|addr|laddr|rdomain)=[^,]*|lport=[^,]+)"
    "(,((user|host|addr|laddr|rdomain)=[^,]*|lport=[^,]+))*";

constexpr PluginKit::PropertyInfo matchRow(bool anyToo) {
    return PluginKit::appliesWhen(
        PluginKit::shaped(
            PluginKit::optional(
                L"match", anyToo ? "`sshd`: the connection, `user=NAME,host=NAME,addr=IP` (also "
                                   "`laddr`, `lport`, `rdomain`), as `sshd -T -C` takes it; "
                                   "`any`: every value anywhere (`sshd`, `sudoers`)"
                                 : "`sshd`: the connection, `user=NAME,host=NAME,addr=IP` (also "
                                   "`laddr`, `lport`, `rdomain`), as `sshd -T -C` takes it"),
            anyToo ? kConnectionOrAnyShape : kConnectionShape, RC_PROPERTY_VALUE_INVALID),
        L"syntax", kMatchSyntaxes, 0, RC_PROPERTY_VALUE_INVALID);
}

class KeyValueQuery {
public:
    // Failures are recorded in `checks`, the first one's code kept. `single`:
    // for KeyValue, which takes "default" and no "match" of "any".
    KeyValueQuery(ProbeChecks& checks, bool single) : m_Checks(checks), m_Single(single) {}

    // Reads and checks the properties of `node`: required ones (-12001 in the
    // order "syntax", "file", "key", "section"), then values (-12002: an
    // unknown syntax, "section", "dropins" or "match" where the syntax takes
    // none, a "match" that is no connection, a truth value other than
    // "true"/"false" in "integer" or "network").
    TErrorCode check(const PluginSDK::Expression& node);

    // Reads the files and gives every value assigned to the key, in order of
    // precedence: for sshd the effective line's words first, for the others
    // the last assignment last. 0, or the code of a file that could not be
    // read (-12010 when the first file does not exist, -12011, -12012,
    // -12015, -12020, -12024), that its program refuses (-12029) or that
    // would have to be run (-12030), or -12028 when the value depends on a
    // connection "match" does not give. A later file that does not exist
    // assigns nothing; `missedFile` tells whether one was missing.
    TErrorCode read(const std::string& sshConfigDir, Values& values, bool& missedFile);

    // check, then read.
    TErrorCode run(const PluginSDK::Expression& node, const std::string& sshConfigDir,
                   Values& values, bool& missedFile) {
        return check(node) == 0 ? read(sshConfigDir, values, missedFile) : m_Checks.code();
    }

    // The value that wins: the first for sshd, the last for the others.
    const std::string& winner(const Values& values) const;

    bool wantsInteger() const { return m_Integer; }
    // "each": `read` gives one value per file of "file", and whether that
    // file assigns the key at all (else the value is empty).
    bool each() const { return m_Each; }
    const std::vector<bool>& eachFound() const { return m_EachFound; }
    // The number the program reads `value` as, in decimal; false when it
    // reads none.
    bool number(std::string_view value, std::string& decimal) const;
    // The number the key ends with: the winner's, or for sysctl (where the
    // kernel refuses a write it cannot read and keeps the earlier value) the
    // last value the kernel reads. False when there is none.
    bool winningNumber(const Values& values, std::string& decimal) const;
    // "default", or null when absent.
    const wchar_t* fallback() const { return m_Default; }

    // One row of the syntax table.
    struct Syntax;

private:
    TErrorCode readSshd(const std::vector<std::string>& paths, const std::string& configDir,
                        Values& values);

    ProbeChecks& m_Checks;
    bool m_Single;
    const Syntax* m_Syntax = nullptr;
    std::string m_Files;
    std::string m_Key;
    std::string m_Section;
    std::string m_Dropins;
    SshdMatch::Mode m_Match = SshdMatch::Mode::Unset;
    SshdMatch::Connection m_Connection;
    bool m_Integer = false;
    bool m_Each = false;
    bool m_AnyScope = false;
    std::vector<FieldTest> m_FieldTests;
    std::vector<bool> m_EachFound;
    const wchar_t* m_Default = nullptr;
};

} // namespace SystemPlugin
