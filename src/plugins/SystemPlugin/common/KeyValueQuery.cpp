// KeyValue and KeyValues: properties, files and drop-ins, readers.
#include "SystemPlugin/common/KeyValueQuery.h"

#include "PluginKit/FileReader.h"
#include "PluginKit/PathList.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/DropinSet.h"
#include "SystemPlugin/common/PropertyText.h"
#include "SystemPlugin/common/SshdConfig.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace SystemPlugin {

using Reader = void (*)(std::string_view, const KeyQuery&, Values&);

// One row per syntax: its reader (none for sshd), which properties it
// requires or takes, and the drop-in set it reads without "dropins".
struct KeyValueQuery::Syntax {
    const wchar_t* name;
    Reader reader;
    bool fileRequired;
    bool sectionRequired;
    bool takesDropins;
    const char* defaultDropins;
};

namespace {

constexpr KeyValueQuery::Syntax kSyntaxes[] = {
    {kSyntaxNames[0], &readShellAssignments, true, false, false, ""},
    {kSyntaxNames[1], &readLoginDefsAssignments, true, false, false, ""},
    {kSyntaxNames[2], &readUseraddAssignments, true, false, false, ""},
    {kSyntaxNames[3], &readSysctlAssignments, false, false, true, "sysctl.d"},
    {kSyntaxNames[4], &readSystemdAssignments, true, true, true, nullptr},
    {kSyntaxNames[5], nullptr, true, false, false, ""},
    {kSyntaxNames[6], &readPlainAssignments, true, false, false, ""},
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
// nothing, as glob(3) gives sshd nothing.
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
        if (outcome.error == PluginKit::FileError::Missing)
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
    if (!syntaxName || std::wcscmp(syntaxName, L"sysctl") != 0)
        m_Checks.require(L"file", __LINE__);
    m_Checks.require(L"key", __LINE__);
    if (syntaxName && std::wcscmp(syntaxName, L"systemd") == 0)
        m_Checks.require(L"section", __LINE__);
    if (m_Checks.failed())
        return m_Checks.code();
    m_Syntax = findSyntax(syntaxName);
    const wchar_t* section = node.getProperty(L"section");
    const wchar_t* dropins = node.getProperty(L"dropins");
    if (!m_Syntax)
        m_Checks.fail(RC_PROPERTY_VALUE_INVALID, "Unknown syntax", __LINE__);
    else if ((section && !m_Syntax->sectionRequired) || (dropins && !m_Syntax->takesDropins))
        m_Checks.fail(RC_PROPERTY_VALUE_INVALID, "This syntax takes no section or dropins",
                      __LINE__);
    m_Integer = m_Checks.truthValue(L"integer", false, __LINE__);
    m_Checks.readNetwork(__LINE__);
    if (m_Checks.failed())
        return m_Checks.code();
    m_Files = utf8Of(node.getProperty(L"file"));
    m_Key = utf8Of(node.getProperty(L"key"));
    m_Section = utf8Of(section);
    if (dropins)
        m_Dropins = utf8Of(dropins);
    else if (m_Syntax->takesDropins)
        m_Dropins = m_Syntax->defaultDropins ? m_Syntax->defaultDropins : systemdDropins(m_Files);
    m_Default = node.getProperty(L"default");
    return RC_SUCCESS;
}

TErrorCode KeyValueQuery::read(const std::string& sshConfigDir, Values& values, bool& missedFile) {
    missedFile = false;
    std::vector<std::string> paths;
    std::vector<std::string> parts;
    if (!m_Files.empty() || m_Syntax->fileRequired) {
        // Each part before a glob in it is expanded, each file again before
        // it is read (a glob may lead onto another mount) unless it is a part.
        parts = PluginKit::PathList::split(m_Files);
        for (const std::string& part : parts)
            m_Checks.checkNetwork(part, __LINE__);
        const PluginKit::FileOutcome outcome =
            PluginKit::PathList::expand(m_Files, paths, m_Checks.networkAllowed());
        if (!outcome.ok())
            m_Checks.fileFailure(outcome, m_Files, __LINE__);
    }
    const std::size_t named = paths.size();
    if (m_Syntax->takesDropins)
        for (std::string& path : DropinSet::collect(m_Dropins, [this](const std::string& dir) {
                 m_Checks.checkNetwork(dir, __LINE__);
                 return !m_Checks.failed();
             }))
            paths.push_back(std::move(path));

    IncludeFiles includes(m_Checks);
    SshdConfig sshd(m_Key, sshConfigDir, includes);
    const KeyQuery query{m_Key, m_Section};
    std::string text;
    for (std::size_t i = 0; i < paths.size() && !m_Checks.failed(); ++i) {
        if (std::find(parts.begin(), parts.end(), paths[i]) == parts.end())
            m_Checks.checkNetwork(paths[i], __LINE__);
        if (m_Checks.failed())
            break;
        const PluginKit::FileOutcome outcome = PluginKit::FileReader::readFile(paths[i], text);
        if (outcome.error == PluginKit::FileError::Missing && (i > 0 || named == 0)) {
            missedFile = true;
            continue;
        }
        if (!outcome.ok()) {
            m_Checks.fileFailure(outcome, paths[i], __LINE__);
        } else if (m_Syntax->reader) {
            m_Syntax->reader(text, query, values);
        } else if (const TErrorCode code = sshd.read(text); code != RC_SUCCESS) {
            // Unless an included file failed (and was recorded), the limits.
            const std::string message = "Include nesting deeper than 16, or too many files: ";
            m_Checks.fail(code, (message + paths[i]).c_str(), __LINE__);
        }
    }
    if (!m_Syntax->reader)
        values = sshd.values();
    return m_Checks.code();
}

const std::string& KeyValueQuery::winner(const Values& values) const {
    return m_Syntax->reader ? values.back() : values.front();
}

} // namespace SystemPlugin
