// Checking documents: every file is read and checked, whatever the others hold.
#include "cli/CheckCommand.h"

#include "cli/EvalCommand.h"
#include "eval/DocumentCheck.h"
#include "eval/DocumentReader.h"
#include "eval/MessageText.h"
#include "eval/TextConversion.h"

namespace corehost {

int CheckCommand::run(const std::vector<std::string>& files) {
    std::vector<std::string> registered;
    for (const std::wstring& name : m_Module.names())
        registered.push_back(toUtf8(name));
    std::vector<Document> documents;
    bool unreadable = false;
    bool found = false;
    for (const std::string& file : files) {
        Document document;
        const std::string source = file == "-" ? "<stdin>" : file;
        std::string text;
        std::string reason;
        InputError error;
        if (!DocumentReader::readSource(file, text, reason)) {
            m_Err << "corehost: cannot read " << source << ": " << reason << '\n';
            unreadable = true;
            continue;
        }
        if (!DocumentReader::parse(text, document, error)) {
            m_Err << "corehost: " << source << ": " << describePath(error.path) << ": "
                  << error.message << '\n';
            unreadable = true;
            continue;
        }
        document.source = source;
        for (const Rule& rule : document.rules) {
            const std::string label =
                document.isRuleList ? "rule " + quote(rule.id) + ": " : std::string();
            const std::vector<Finding> findings = checkRule(rule, registered);
            for (const Finding& finding : findings)
                m_Out << document.source << ": " << label << describePath(finding.path) << ": "
                      << finding.message << '\n';
            found = found || !findings.empty();
        }
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
