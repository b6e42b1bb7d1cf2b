// SystemPlugin's catalog: its expressions in registration order, its two
// settings and its table of result codes.
#include "eval/CatalogTables.h"

#include "SystemPlugin/ResultCodes.h"

namespace corehost {
namespace catalog_detail {

namespace {

using namespace SystemPlugin; // the result codes

const char* const kNetworkNote = "`true`: also read on network and FUSE file systems (else -12024)";

PropertySpec truth(const char* name, const char* note) {
    return optional(name, kTruth, RC_PROPERTY_VALUE_INVALID, note);
}

PropertySpec path() {
    return required("absolutePath", RC_PROPERTY_MISSING);
}

PropertySpec network() {
    return truth("network", kNetworkNote);
}

PropertySpec follow() {
    return truth("follow", "`false`: the link itself (default `true`)");
}

PropertySpec ignoreCase() {
    return truth("ignoreCase", "`true`: without regard to case");
}

PropertySpec filter() {
    return optional("filter", "a wildcard pattern over the whole text; not with `pattern`");
}

PropertySpec pattern() {
    return optional("pattern", "a regular expression (RE2), found anywhere unless anchored "
                               "(else -12021); not with `filter`");
}

PropertySpec oneOf(const char* name, Values values, const char* note) {
    return optional(name, std::move(values), RC_PROPERTY_VALUE_INVALID, note);
}

PropertySpec form() {
    return oneOf("form", {"name", "id"}, "`id`: the number (default `name`)");
}

std::vector<PropertySpec> keyProperties(bool single) {
    std::vector<PropertySpec> properties = {
        required("syntax", RC_PROPERTY_MISSING, ValueRule::OneOf,
                 {"shell", "logindefs", "useradd", "sysctl", "systemd", "sshd", "plain"},
                 RC_PROPERTY_VALUE_INVALID, "whose reading of the file to reproduce"),
        optional("file", "paths separated by `;` (globs allowed); required except for `sysctl`"),
        required("key", RC_PROPERTY_MISSING),
        optional("section", "the `[Section]`; required for `systemd`, refused elsewhere (-12002)"),
        optional("dropins", "`sysctl`, `systemd`: the drop-in directory below /etc, /run, "
                            "/usr/local/lib and /usr/lib; `\"\"` reads none")};
    if (single)
        properties.push_back(optional("default", "the result when no file assigns the key"));
    properties.push_back(truth("integer", single ? "`true`: the value must read as a decimal "
                                                   "integer (else -12025)"
                                                 : "`true`: every value must read as a decimal "
                                                   "integer (else -12025)"));
    properties.push_back(network());
    return properties;
}

PropertySpec fieldTest(const char* name, ValueRule rule, const char* note) {
    PropertySpec spec = optional(name, note);
    spec.rule = rule;
    spec.invalidCode =
        rule == ValueRule::Text ? TErrorCode{0} : TErrorCode{RC_PROPERTY_VALUE_INVALID};
    spec.numberedName = true;
    return spec;
}

PropertySpec split() {
    PropertySpec spec = optional("split", "the field is split there into its non-empty parts");
    spec.rule = ValueRule::Character;
    spec.invalidCode = RC_PROPERTY_VALUE_INVALID;
    return spec;
}

std::vector<PropertySpec> packageProperties() {
    return {required("package", RC_PROPERTY_MISSING, "a name, or `name:arch`"),
            optional("architecture", "the Architecture field exactly (`all` only `all`)")};
}

std::vector<ExpressionSpec> makeExpressions() {
    const ChildKinds scalars = ChildKinds::Scalar;
    const ChildKinds vectors = ChildKinds::Vector;
    ExpressionSpec modeWithin = op("ModeWithin", ResultText::Truth, scalars, 2, 2, {},
                                   "`true` when the first mode has no bit the second lacks");
    modeWithin.literalType = "octal mode";
    ExpressionSpec versionCompare =
        op("VersionCompare", ResultText::Truth, scalars, 2, 2,
           {required("relation", RC_PROPERTY_MISSING, ValueRule::OneOf,
                     {"lt", "le", "eq", "ne", "ge", "gt"}, RC_PROPERTY_VALUE_INVALID)},
           "`true`/`false`: first child `relation` second child in dpkg's order");
    versionCompare.literalType = "Debian version";
    return {
        operand("FileText", ResultText::Any, {path(), network()},
                "the whole text, one final line end removed (at most 16 MiB)"),
        operand("FileLines", ResultText::List,
                {required("absolutePath", RC_PROPERTY_MISSING,
                          "paths separated by `;` (globs allowed)"),
                 filter(), ignoreCase(), pattern(),
                 optional("comments", "lines whose first non-blank text is it, and blank "
                                      "lines, are left out"),
                 network()},
                "the lines of every file in order, without line ends; at most 100,000"),
        operand("FileDigest", ResultText::HexDigest,
                {path(), oneOf("algorithm", {"sha256", "sha512", "md5"}, "default `sha256`"),
                 network()},
                "lower-case hex digest of the content"),
        operand("FileMode", ResultText::OctalMode, {path(), follow(), network()},
                "four octal digits of the permission bits: `0640`, `4755`, `1777`"),
        operand("FileOwner", ResultText::Any, {path(), follow(), form(), network()},
                "the owner's user name, or the uid"),
        operand("FileGroup", ResultText::Any, {path(), follow(), form(), network()},
                "the group's name, or the gid"),
        modeWithin,
        operand("FileAcl", ResultText::Truth, {path(), follow(), network()},
                "`true` when an ACL beyond the base entries (or a default ACL) is there"),
        operand("LinkTarget", ResultText::Any, {path(), network()},
                "the target of a symbolic link as stored"),
        operand("DirectoryEntries", ResultText::List, {path(), filter(), ignoreCase(), network()},
                "entry names without `.` and `..`, sorted by bytes; at most 100,000"),
        operand("FileAge", ResultText::Number,
                {path(), oneOf("field", {"mtime", "ctime"}, "default `mtime`"), network()},
                "whole seconds from the time stamp to now, negative for a future one"),
        operand("KeyValue", ResultText::Any, keyProperties(true),
                "the winning value of the key, as the owning program reads it"),
        operand("KeyValues", ResultText::List, keyProperties(false),
                "every active assignment of the key, in order"),
        operand("RecordField", ResultText::List,
                {required("file", RC_PROPERTY_MISSING, "one path"),
                 required("field", RC_PROPERTY_MISSING, ValueRule::Position, {},
                          RC_PROPERTY_VALUE_INVALID, "the field to give, from 1"),
                 split(), fieldTest("fN.equals", ValueRule::Text, "field N equals it"),
                 fieldTest("fN.notEquals", ValueRule::Text, "field N differs from it"),
                 fieldTest("fN.matches", ValueRule::Text, "field N matches the wildcard"),
                 fieldTest("fN.notMatches", ValueRule::Text, "field N does not match it"),
                 fieldTest("fN.atLeast", ValueRule::Count, "field N, a number, is at least it"),
                 fieldTest("fN.below", ValueRule::Count, "field N, a number, is below it"),
                 network()},
                "field `field` of each record that passes every test"),
        operand("Sysctl", ResultText::Any,
                {required("name", RC_PROPERTY_MISSING, "`net.ipv4.ip_forward`")},
                "the kernel parameter's value, blanks folded"),
        operand("MountOptions", ResultText::List, {path()},
                "the options of the mount holding the path, as `findmnt -o OPTIONS`"),
        operand("MountType", ResultText::Any, {path()}, "the file-system type of that mount"),
        operand("PackageInstalled", ResultText::Truth, packageProperties(),
                "`true` when an instance is installed (not `not-installed`, `config-files`)"),
        operand("PackageVersion", ResultText::Any, packageProperties(),
                "the installed version (-12017 none, -12023 ambiguous)"),
        operand("InstalledPackages", ResultText::List, {filter(), ignoreCase()},
                "names of installed packages, sorted by bytes, each once"),
        versionCompare,
        op("TextMatch", ResultText::Truth, scalars, 1, 1, {filter(), ignoreCase(), pattern()},
           "`true` when the child's text matches; one of `filter`, `pattern` (else -12001)"),
        op("TextExtract", ResultText::Any, scalars, 1, 1,
           {required("pattern", RC_PROPERTY_MISSING,
                     "a regular expression (RE2) with a capture group (else -12021)")},
           "the first capture group of the first match (-12014 none)"),
        op("Count", ResultText::Number, vectors, 1, 1, {}, "the number of values, decimal"),
        op("VectorContains", ResultText::Truth, vectors, 1, 1,
           {required("value", RC_PROPERTY_MISSING), ignoreCase()},
           "`true` when some value equals `value`"),
        op("Duplicates", ResultText::List, vectors, 1, 1, {ignoreCase()},
           "each value that occurs more than once, once, in order of first occurrence"),
        operand("AuditRules", ResultText::List,
                {oneOf("source", {"files", "loaded"},
                       "`files` (default): rules.d as augenrules joins it; `loaded`: the "
                       "kernel's list"),
                 optional("file", "paths read instead of rules.d (globs allowed); `files` only"),
                 network()},
                "each rule in the form `auditctl -l` prints, in load order; the last `-e N` "
                "last"),
    };
}

} // namespace

const TErrorCode kNotAnOctalMode = RC_INVALID_MODE;
const TErrorCode kNotADebianVersion = RC_INVALID_PACKAGE_VERSION;

PluginCatalog makeSystemPluginCatalog() {
    PluginCatalog plugin{
        "SystemPlugin",
        makeExpressions(),
        {{"dpkgAdminDir", "/var/lib/dpkg", "the dpkg database: `status` and `updates/`", {}},
         {"sshConfigDir", "/etc/ssh", "the base of relative `Include` paths of `sshd`", {}}},
        {}};
    for (const ResultCodeInfo& info : kResultCodes)
        plugin.codes.push_back(CodeSpec{info.code, info.meaning});
    return plugin;
}

} // namespace catalog_detail
} // namespace corehost
