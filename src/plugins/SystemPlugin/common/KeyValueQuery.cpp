// KeyValue and KeyValues: properties, files and drop-ins, readers.
#include "SystemPlugin/common/KeyValueQuery.h"

#include "PluginKit/FileReader.h"
#include "PluginKit/PathList.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/AptAssignments.h"
#include "SystemPlugin/common/DropinSet.h"
#include "SystemPlugin/common/ProgramNumber.h"
#include "SystemPlugin/common/PropertyText.h"
#include "SystemPlugin/common/SshdConfig.h"
#include "SystemPlugin/common/SudoersAssignments.h"
#include "SystemPlugin/common/SysctlAssignments.h"

#include <sys/stat.h>

#include <algorithm>
#include <cwchar>
#include <functional>
#include <iterator>

namespace SystemPlugin {

// Where a syntax finds files besides "file": none; the drop-in set systemd
// collects; the ".conf" files of the directory named after the first file
// plus ".d", read before it; without "file", the modprobe.d set kmod
// collects; apt's parts directory and main file (and a "file" path ending
// in '/' read as a parts directory); without "file", /etc/sudoers.
enum class Dropins { None, Systemd, BeforeFile, Kmod, AptParts, Sudoers };

// One row per syntax: how its files are read (none for sshd, which has its
// own reading), how its program reads integers, which properties it requires
// or takes, and where its drop-ins are.
struct KeyValueQuery::Syntax {
    const wchar_t* name;
    ReaderMaker reader;
    ProgramNumber::Reading number;
    bool fileRequired;
    bool sectionRequired;
    bool keepsReadable; // an unreadable number leaves the earlier one in place
    Dropins dropins;
    const char* defaultDropins; // for Systemd; null: the file's own
    bool standalone;            // each file reads alone ("each")
};

namespace {

constexpr KeyValueQuery::Syntax kSyntaxes[] = {
    {kSyntaxNames[0], &eachFile<readShellAssignments>, &ProgramNumber::decimal, true, false, false,
     Dropins::None, "", true},
    {kSyntaxNames[1], &eachFile<readLoginDefsAssignments>, &ProgramNumber::shadow, true, false,
     false, Dropins::None, "", true},
    {kSyntaxNames[2], &eachFile<readUseraddAssignments>, &ProgramNumber::useradd, true, false,
     false, Dropins::None, "", true},
    {kSyntaxNames[3], &SysctlAssignments::make, &ProgramNumber::kernel, false, false, true,
     Dropins::Systemd, "sysctl.d", false},
    {kSyntaxNames[4], &eachFile<readSystemdAssignments>, &ProgramNumber::decimal, true, true, false,
     Dropins::Systemd, nullptr, false},
    {kSyntaxNames[5], nullptr, &ProgramNumber::decimal, true, false, false, Dropins::None, "",
     false},
    {kSyntaxNames[6], &eachFile<readPlainAssignments>, &ProgramNumber::decimal, true, false, false,
     Dropins::None, "", true},
    {kSyntaxNames[7], &eachFile<readPwqualityAssignments>, &ProgramNumber::pwquality, true, false,
     false, Dropins::BeforeFile, "", false},
    {kSyntaxNames[8], &makeModprobeReader, &ProgramNumber::decimal, false, false, false,
     Dropins::Kmod, "modprobe.d", false},
    {kSyntaxNames[9], &AptAssignments::make, &ProgramNumber::decimal, false, false, false,
     Dropins::AptParts, "/etc/apt/apt.conf.d/", true},
    {kSyntaxNames[10], &SudoersAssignments::make, &ProgramNumber::decimal, false, false, false,
     Dropins::Sudoers, "/etc/sudoers", true},
    {kSyntaxNames[11], &eachFile<readDeb822Assignments>, &ProgramNumber::decimal, true, false,
     false, Dropins::None, "", true},
};
static_assert(std::size(kSyntaxes) == std::size(kSyntaxNames), "a row for each syntax name");

const KeyValueQuery::Syntax* findSyntax(const wchar_t* name) {
    for (const KeyValueQuery::Syntax& syntax : kSyntaxes)
        if (name && std::wcscmp(syntax.name, name) == 0)
            return &syntax;
    return nullptr;
}

// Include patterns go to the path-list expansion as one path each.
std::string asOnePath(const std::string& pattern) {
    std::string escaped;
    for (char c : pattern) {
        if (c == ';')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

// The files an sshd Include names, through the kit's globs and reader, each
// checked against network file systems. A path that does not exist adds
// nothing, as glob(3) gives sshd nothing; a directory reads as empty, as sshd
// reads it.
class IncludeFiles : public SshdIncludeSource {
public:
    explicit IncludeFiles(ProbeChecks& checks) : m_Checks(checks) {}
    TErrorCode expand(const std::string& pattern, std::vector<std::string>& paths) override {
        m_Checks.checkNetwork(pattern, __LINE__);
        if (m_Checks.failed())
            return m_Checks.code();
        const PluginKit::FileOutcome outcome =
            PluginKit::PathList::expand(asOnePath(pattern), paths, m_Checks.networkAllowed());
        if (!outcome.ok())
            m_Checks.fileFailure(outcome, pattern, __LINE__);
        return m_Checks.code();
    }
    TErrorCode read(const std::string& path, std::string& text) override {
        m_Checks.checkNetwork(path, __LINE__);
        if (m_Checks.failed())
            return m_Checks.code();
        const PluginKit::FileOutcome outcome = PluginKit::FileReader::readFile(path, text);
        struct stat info {};
        if (outcome.error == PluginKit::FileError::Missing ||
            (outcome.error == PluginKit::FileError::WrongKind && stat(path.c_str(), &info) == 0 &&
             S_ISDIR(info.st_mode)))
            text.clear();
        else if (!outcome.ok())
            m_Checks.fileFailure(outcome, path, __LINE__);
        return m_Checks.code();
    }

private:
    ProbeChecks& m_Checks;
};

// systemd's own drop-in directory of a file under /etc/systemd/:
// /etc/systemd/journald.conf reads systemd/journald.conf.d.
std::string systemdDropins(const std::string& files) {
    const std::vector<std::string> paths = PluginKit::PathList::split(files);
    constexpr std::string_view base = "/etc/systemd/";
    if (paths.empty() || paths[0].compare(0, base.size(), base) != 0 ||
        paths[0].find('/', base.size()) != std::string::npos)
        return {};
    return "systemd/" + paths[0].substr(base.size()) + ".d";
}

} // namespace

TErrorCode KeyValueQuery::check(const PluginSDK::Expression& node) {
    const wchar_t* syntaxName = node.getProperty(L"syntax");
    m_Checks.require(L"syntax", __LINE__);
    if (!findSyntax(syntaxName) || findSyntax(syntaxName)->fileRequired)
        m_Checks.require(L"file", __LINE__);
    m_Checks.require(L"key", __LINE__);
    if (syntaxName && std::wcscmp(syntaxName, L"systemd") == 0)
        m_Checks.require(L"section", __LINE__);
    if (m_Checks.failed())
        return m_Checks.code();
    m_Syntax = findSyntax(syntaxName);
    const wchar_t* section = node.getProperty(L"section");
    const wchar_t* dropins = node.getProperty(L"dropins");
    const wchar_t* match = node.getProperty(L"match");
    if (!m_Syntax)
        m_Checks.fail(RC_PROPERTY_VALUE_INVALID, "Unknown syntax", __LINE__);
    else if ((section && !m_Syntax->sectionRequired) ||
             (dropins && m_Syntax->dropins != Dropins::Systemd) ||
             (match && m_Syntax->reader &&
              !(m_Syntax->dropins == Dropins::Sudoers && std::wcscmp(match, L"any") == 0)))
        m_Checks.fail(RC_PROPERTY_VALUE_INVALID, "This syntax takes no section, dropins or match",
                      __LINE__);
    m_Match = SshdMatch::Mode::Unset;
    m_AnyScope = false;
    if (match && m_Syntax && m_Syntax->dropins == Dropins::Sudoers && !m_Checks.failed()) {
        m_AnyScope = true;
        if (m_Single)
            m_Checks.fail(RC_PROPERTY_VALUE_INVALID, "match \"any\" is for KeyValues", __LINE__);
    } else if (match && !m_Checks.failed()) {
        m_Match = SshdMatch::parse(utf8Of(match), m_Connection);
        if (m_Match == SshdMatch::Mode::Unset || (m_Single && m_Match == SshdMatch::Mode::Any))
            m_Checks.fail(
                RC_PROPERTY_VALUE_INVALID,
                "match is not a connection as sshd -C takes it (or \"any\" for KeyValues)",
                __LINE__);
    }
    m_FieldTests.clear();
    for (const wchar_t* field : kDeb822Fields)
        for (std::size_t test = 0; test < std::size(kDeb822Tests); ++test) {
            const std::wstring name = std::wstring(field) + L"." + kDeb822Tests[test];
            if (const wchar_t* value = node.getProperty(name.c_str()))
                m_FieldTests.push_back(
                    {utf8Of(field), static_cast<FieldTest::Kind>(test), utf8Of(value)});
        }
    if (!m_FieldTests.empty() && m_Syntax && std::wcscmp(m_Syntax->name, L"deb822") != 0)
        m_Checks.fail(RC_PROPERTY_VALUE_INVALID, "Field tests are for the deb822 syntax", __LINE__);
    m_Integer = m_Checks.truthValue(L"integer", false, __LINE__);
    m_Each = !m_Single && m_Checks.truthValue(L"each", false, __LINE__);
    // "each" does not apply to a syntax that reads its files together, whatever its value.
    if (!m_Single && node.getProperty(L"each") && m_Syntax && !m_Syntax->standalone)
        m_Checks.fail(RC_PROPERTY_VALUE_INVALID,
                      "each: this syntax reads its files together, not one by one", __LINE__);
    m_Checks.readNetwork(__LINE__);
    if (m_Checks.failed())
        return m_Checks.code();
    m_Files = utf8Of(node.getProperty(L"file"));
    m_Key = utf8Of(node.getProperty(L"key"));
    m_Section = utf8Of(section);
    if (dropins)
        m_Dropins = utf8Of(dropins);
    else if (m_Syntax->dropins == Dropins::Systemd)
        m_Dropins = m_Syntax->defaultDropins ? m_Syntax->defaultDropins : systemdDropins(m_Files);
    m_Default = node.getProperty(L"default");
    return RC_SUCCESS;
}

TErrorCode KeyValueQuery::read(const std::string& sshConfigDir, Values& values, bool& missedFile) {
    missedFile = false;
    std::vector<std::string> paths;
    std::vector<std::string> parts;
    const std::function<bool(const std::string&)> mayTouch = [this](const std::string& path) {
        m_Checks.checkNetwork(path, __LINE__);
        return !m_Checks.failed();
    };
    std::size_t before = 0; // drop-ins read before "file"
    if (m_Syntax->dropins == Dropins::BeforeFile) {
        const std::string first = PluginKit::PathList::split(m_Files).front();
        const PluginKit::FileOutcome outcome = mayTouch(first + ".d")
                                                   ? DropinSet::snippets(first + ".d", paths)
                                                   : PluginKit::FileOutcome::success();
        if (!outcome.ok())
            m_Checks.fileFailure(outcome, first + ".d", __LINE__);
        before = paths.size();
    }
    if (!m_Files.empty() || m_Syntax->fileRequired) {
        // Each part before a glob in it is expanded, each file again before
        // it is read (a glob may lead onto another mount) unless it is a part.
        parts = PluginKit::PathList::split(m_Files);
        for (const std::string& part : parts)
            mayTouch(part);
        std::vector<std::string> named;
        const PluginKit::FileOutcome outcome =
            PluginKit::PathList::expand(m_Files, named, m_Checks.networkAllowed());
        if (!outcome.ok())
            m_Checks.fileFailure(outcome, m_Files, __LINE__);
        paths.insert(paths.end(), named.begin(), named.end());
    }
    const std::size_t firstDropin = paths.size();
    if (m_Syntax->dropins == Dropins::Kmod && m_Files.empty() && !m_Checks.failed()) {
        std::vector<std::string> files;
        const PluginKit::FileOutcome outcome =
            DropinSet::collect(m_Syntax->defaultDropins, DropinSet::kKmodRoots, mayTouch, files);
        if (!outcome.ok())
            m_Checks.fileFailure(outcome, "modprobe.d", __LINE__);
        paths.insert(paths.end(), files.begin(), files.end());
    }
    if (m_Syntax->dropins == Dropins::AptParts && !m_Checks.failed()) {
        // Without "file": the parts, then apt.conf when it exists.
        std::vector<std::string> named;
        if (m_Files.empty()) {
            named.push_back(m_Syntax->defaultDropins);
            struct stat info {};
            if (mayTouch("/etc/apt/apt.conf") && stat("/etc/apt/apt.conf", &info) == 0)
                named.push_back("/etc/apt/apt.conf");
        } else {
            named.swap(paths);
        }
        for (const std::string& path : named) {
            if (path.empty() || path.back() != '/') {
                paths.push_back(path);
                continue;
            }
            const PluginKit::FileOutcome outcome = mayTouch(path)
                                                       ? AptAssignments::parts(path, paths)
                                                       : PluginKit::FileOutcome::success();
            if (!outcome.ok())
                m_Checks.fileFailure(outcome, path, __LINE__);
        }
    }
    if (m_Syntax->dropins == Dropins::Sudoers && m_Files.empty())
        paths.push_back(m_Syntax->defaultDropins);
    if (m_Syntax->dropins == Dropins::Systemd && !m_Checks.failed()) {
        std::vector<std::string> dropins;
        const PluginKit::FileOutcome outcome = DropinSet::collect(m_Dropins, mayTouch, dropins);
        if (!outcome.ok())
            m_Checks.fileFailure(outcome, "drop-ins of " + m_Dropins, __LINE__);
        paths.insert(paths.end(), dropins.begin(), dropins.end());
    }
    if (m_Checks.failed())
        return m_Checks.code();
    if (!m_Syntax->reader)
        return readSshd(paths, sshConfigDir, values);

    const KeyQuery query{m_Key, m_Section, m_AnyScope, &m_FieldTests};
    std::unique_ptr<AssignmentReader> reader = m_Syntax->reader(query);
    std::string text;
    m_EachFound.clear();
    for (std::size_t i = 0; i < paths.size() && !m_Checks.failed(); ++i) {
        // "each": a reader of its own for every file, its winner kept.
        if (m_Each && i > 0) {
            if (Values found = reader->values(); !found.empty()) {
                values.push_back(std::move(found.back()));
                m_EachFound.push_back(true);
            } else {
                values.emplace_back();
                m_EachFound.push_back(false);
            }
            reader = m_Syntax->reader(query);
        }
        if (std::find(parts.begin(), parts.end(), paths[i]) == parts.end() && !mayTouch(paths[i]))
            break;
        const PluginKit::FileOutcome outcome = PluginKit::FileReader::readFile(paths[i], text);
        // The first named file must exist, unless snippets read before it
        // stand in for it (libpwquality reads them without it).
        const bool firstNamed = i == 0 && before == 0 && firstDropin > 0;
        if (outcome.error == PluginKit::FileError::Missing && !firstNamed) {
            // A later file, or a drop-in or snippet that vanished; or the
            // first named file where snippets stand in for it.
            missedFile = missedFile || i != before || before == 0;
            continue;
        }
        if (!outcome.ok()) {
            m_Checks.fileFailure(outcome, paths[i], __LINE__);
            continue;
        }
        if (m_Syntax->dropins == Dropins::Sudoers &&
            SudoersAssignments::mainFileRefused(paths[i])) {
            m_Checks.fail(
                RC_REFUSED_BY_PROGRAM,
                ("sudo refuses a world-writable file or one not owned by root: " + paths[i])
                    .c_str(),
                __LINE__);
            continue;
        }
        reader->at(paths[i]);
        if (const TErrorCode code = reader->read(text); code != RC_SUCCESS) {
            const std::string message = (code == RC_NOT_PLAIN_ASSIGNMENT
                                             ? "The key is set by more than a plain assignment: "
                                             : "The file's own program refuses it: ") +
                                        paths[i];
            m_Checks.fail(code, message.c_str(), __LINE__);
        }
    }
    if (m_Checks.failed())
        return m_Checks.code();
    if (!m_Each) {
        values = reader->values();
    } else if (!paths.empty()) {
        Values found = reader->values();
        m_EachFound.push_back(!found.empty());
        values.push_back(found.empty() ? std::string() : std::move(found.back()));
    }
    return RC_SUCCESS;
}

TErrorCode KeyValueQuery::readSshd(const std::vector<std::string>& paths,
                                   const std::string& configDir, Values& values) {
    IncludeFiles includes(m_Checks);
    SshdConfig sshd(configDir, includes);
    std::string text;
    std::string why;
    for (const std::string& path : paths) {
        const PluginKit::FileOutcome outcome = PluginKit::FileReader::readFile(path, text);
        if (!outcome.ok()) {
            m_Checks.fileFailure(outcome, path, __LINE__);
            break;
        }
        const TErrorCode code = sshd.read(path, text, why);
        if (code != RC_SUCCESS) {
            // Unless an included file failed (and was recorded), sshd's own refusal or a limit.
            m_Checks.fail(code, (why + ": " + path).c_str(), __LINE__);
            break;
        }
    }
    if (m_Checks.failed())
        return m_Checks.code();
    const TErrorCode code = sshd.values(m_Key, m_Match, m_Connection, values, why);
    if (code != RC_SUCCESS)
        m_Checks.fail(code, why.c_str(), __LINE__);
    return m_Checks.code();
}

const std::string& KeyValueQuery::winner(const Values& values) const {
    return m_Syntax->reader ? values.back() : values.front();
}

bool KeyValueQuery::number(std::string_view value, std::string& decimal) const {
    return m_Syntax->number(value, decimal);
}

bool KeyValueQuery::winningNumber(const Values& values, std::string& decimal) const {
    if (!m_Syntax->keepsReadable)
        return number(winner(values), decimal);
    for (auto value = values.rbegin(); value != values.rend(); ++value)
        if (number(*value, decimal))
            return true;
    return false;
}

} // namespace SystemPlugin
