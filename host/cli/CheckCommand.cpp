// Checking documents: every file is read and checked, whatever the others hold.
#include "cli/CheckCommand.h"

#include "cli/EvalCommand.h"
#include "eval/Catalog.h"
#include "eval/DocumentCheck.h"
#include "eval/DocumentReader.h"
#include "eval/MessageText.h"
#include "eval/TextConversion.h"

namespace corehost {

bool CheckCommand::knownPlugin() const {
    for (const std::shared_ptr<PluginModule>& module : m_Plugins.modules())
        if (!describesPlugin(PluginSet::pluginName(*module)))
            return false;
    return true;
}

std::size_t CheckCommand::reportSettings(const std::string& prefix) {
    if (!knownPlugin())
        return 0;
    const std::vector<Finding> findings = checkSettings(m_Settings);
    for (const Finding& finding : findings)
        m_Out << prefix << escapeText(finding.path) << ": " << finding.message << '\n';
    return findings.size();
}

std::size_t CheckCommand::report(const Document& document, const std::string& prefix) {
    std::vector<std::string> registered;
    for (const std::wstring& name : m_Plugins.names())
        registered.push_back(toUtf8(name));
    const bool useCatalog = knownPlugin();
    std::size_t count = 0;
    for (const Rule& rule : document.rules) {
        const std::string label =
            document.isRuleList ? "rule " + quote(rule.id) + ": " : std::string();
        std::vector<Finding> findings = checkRule(rule, registered, useCatalog);
        if (rule.onlyIf) {
            // The condition is checked like any tree; it expects nothing.
            Rule condition;
            condition.tree = *rule.onlyIf;
            condition.path = rule.onlyIfPath;
            const std::vector<Finding> more = checkRule(condition, registered, useCatalog);
            findings.insert(findings.end(), more.begin(), more.end());
        }
        for (const Finding& finding : findings)
            m_Out << prefix << escapeText(document.source) << ": " << label
                  << describePath(finding.path) << ": " << finding.message << '\n';
        count += findings.size();
    }
    return count;
}

int CheckCommand::run(const std::vector<std::string>& files) {
    std::vector<Document> documents;
    bool unreadable = false;
    bool found = reportSettings("") > 0;
    for (const std::string& file : files) {
        Document document;
        const std::string source = file == "-" ? "<stdin>" : file;
        std::string text;
        std::string reason;
        InputError error;
        if (!DocumentReader::readSource(file, text, reason)) {
            m_Err << "corehost: cannot read " << escapeText(source) << ": " << reason << '\n';
            unreadable = true;
            continue;
        }
        if (!DocumentReader::parse(text, document, error)) {
            m_Err << "corehost: " << escapeText(source) << ": " << describePath(error.path) << ": "
                  << error.message << '\n';
            unreadable = true;
            continue;
        }
        document.source = source;
        found = report(document, "") > 0 || found;
        documents.push_back(std::move(document));
    }
    InputError duplicate;
    if (!DocumentReader::checkUniqueIds(documents, duplicate)) {
        m_Err << "corehost: " << duplicate.source << ": " << duplicate.path << ": "
              << duplicate.message << '\n';
        unreadable = true;
    }
    return unreadable ? kExitUsage : found ? kExitExpressionFailed : kExitSuccess;
}

} // namespace corehost
