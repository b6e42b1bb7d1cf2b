// KeyValue and KeyValues: properties, files and drop-ins, readers.
#include "SystemPlugin/common/KeyValueQuery.h"

#include "PluginKit/FileReader.h"
#include "PluginKit/PathList.h"
#include "PluginKit/PropertyChecks.h"
#include "PluginKit/TruthValues.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/DropinSet.h"
#include "SystemPlugin/common/FileCodes.h"
#include "SystemPlugin/common/SshdConfig.h"

#include <cwchar>

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
    {L"shell", &readShellAssignments, true, false, false, ""},
    {L"logindefs", &readLoginDefsAssignments, true, false, false, ""},
    {L"useradd", &readUseraddAssignments, true, false, false, ""},
    {L"sysctl", &readSysctlAssignments, false, false, true, "sysctl.d"},
    {L"systemd", &readSystemdAssignments, true, true, true, nullptr},
    {L"sshd", nullptr, true, false, false, ""},
    {L"plain", &readPlainAssignments, true, false, false, ""},
};

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

// The files an sshd Include names, through the kit's globs and reader. A
// path that does not exist adds nothing, as glob(3) gives sshd nothing.
class IncludeFiles : public SshdIncludeSource {
public:
    TErrorCode expand(const std::string& pattern, std::vector<std::string>& paths) override {
        return codeOf(PluginKit::PathList::expand(asOnePath(pattern), paths));
    }
    TErrorCode read(const std::string& path, std::string& text) override {
        const PluginKit::FileOutcome outcome = PluginKit::FileReader::readFile(path, text);
        if (outcome.error != PluginKit::FileError::Missing)
            return codeOf(outcome);
        text.clear();
        return RC_SUCCESS;
    }
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
    const bool sysctl = syntaxName && std::wcscmp(syntaxName, L"sysctl") == 0;
    const bool systemd = syntaxName && std::wcscmp(syntaxName, L"systemd") == 0;
    // Required in this order; "file" not for sysctl, "section" only for systemd.
    const PluginKit::RequiredProperty required[] = {
        {L"syntax", RC_PROPERTY_MISSING, "property \"syntax\" is missing", __LINE__},
        {L"file", RC_PROPERTY_MISSING, "property \"file\" is missing", __LINE__},
        {L"key", RC_PROPERTY_MISSING, "property \"key\" is missing", __LINE__},
        {L"section", RC_PROPERTY_MISSING, "property \"section\" is missing", __LINE__},
    };
    for (const PluginKit::RequiredProperty& property : required) {
        if ((property.name == required[1].name && sysctl) ||
            (property.name == required[3].name && !systemd))
            continue;
        const TErrorCode code = PluginKit::checkRequiredProperties(
            node, {property}, PluginKit::CheckMode::StopAtFirst, m_Trace);
        if (code != RC_SUCCESS)
            return code;
    }
    m_Syntax = findSyntax(syntaxName);
    const wchar_t* section = node.getProperty(L"section");
    const wchar_t* dropins = node.getProperty(L"dropins");
    const wchar_t* integer = node.getProperty(L"integer");
    const wchar_t* network = node.getProperty(L"network");
    if (!m_Syntax || (section && !m_Syntax->sectionRequired) ||
        (dropins && !m_Syntax->takesDropins) || (integer && !PluginKit::isTruthValue(integer)) ||
        (network && !PluginKit::isTruthValue(network)))
        return RC_PROPERTY_VALUE_INVALID;
    m_Files = utf8Of(node.getProperty(L"file"));
    m_Key = utf8Of(node.getProperty(L"key"));
    m_Section = utf8Of(section);
    if (dropins)
        m_Dropins = utf8Of(dropins);
    else if (m_Syntax->takesDropins)
        m_Dropins = m_Syntax->defaultDropins ? m_Syntax->defaultDropins : systemdDropins(m_Files);
    m_Integer = PluginKit::isTrueText(integer);
    m_Default = node.getProperty(L"default");
    return RC_SUCCESS;
}

TErrorCode KeyValueQuery::read(const std::string& sshConfigDir, Values& values,
                               bool& missedFile) const {
    missedFile = false;
    std::vector<std::string> paths;
    if (!m_Files.empty() || m_Syntax->fileRequired) {
        const TErrorCode code =
            codeOf(PluginKit::PathList::expand(m_Files, paths), m_Files, m_Trace);
        if (code != RC_SUCCESS)
            return code;
    }
    const std::size_t named = paths.size();
    if (m_Syntax->takesDropins)
        for (std::string& path : DropinSet::collect(m_Dropins))
            paths.push_back(std::move(path));

    IncludeFiles includes;
    SshdConfig sshd(m_Key, sshConfigDir, includes);
    const KeyQuery query{m_Key, m_Section};
    std::string text;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const PluginKit::FileOutcome outcome = PluginKit::FileReader::readFile(paths[i], text);
        if (outcome.error == PluginKit::FileError::Missing && (i > 0 || named == 0)) {
            missedFile = true;
            continue;
        }
        TErrorCode code = codeOf(outcome, paths[i], m_Trace);
        if (code == RC_SUCCESS && !m_Syntax->reader)
            code = sshd.read(text);
        else if (code == RC_SUCCESS)
            m_Syntax->reader(text, query, values);
        if (code != RC_SUCCESS)
            return code;
    }
    if (!m_Syntax->reader)
        values = sshd.values();
    return RC_SUCCESS;
}

const std::string& KeyValueQuery::winner(const Values& values) const {
    return m_Syntax->reader ? values.back() : values.front();
}

} // namespace SystemPlugin
