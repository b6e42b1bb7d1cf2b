// Checking documents: every file is read and checked, whatever the others hold.
#include "cli/CheckCommand.h"

#include "cli/ExitCodes.h"
#include "eval/DocumentReader.h"
#include "eval/MessageText.h"
#include "eval/TextConversion.h"

namespace corehost {

namespace {

// `text` with every control character and every Unicode line break (U+0085,
// U+2028, U+2029) replaced by a space: one field of one tab-separated line,
// whichever way its reader splits lines.
std::string fieldText(const std::string& text) {
    const auto byte = [&text](std::size_t at) {
        return at < text.size() ? static_cast<unsigned char>(text[at]) : 0u;
    };
    std::string field;
    field.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t breakLength = 0;
        if (byte(i) < 0x20 || byte(i) == 0x7F)
            breakLength = 1;
        else if (byte(i) == 0xC2 && byte(i + 1) == 0x85)
            breakLength = 2;
        else if (byte(i) == 0xE2 && byte(i + 1) == 0x80 &&
                 (byte(i + 2) == 0xA8 || byte(i + 2) == 0xA9))
            breakLength = 3;
        if (breakLength == 0) {
            field += text[i];
            continue;
        }
        field += ' ';
        i += breakLength - 1;
    }
    return field;
}

} // namespace

void CheckCommand::listRules(const std::vector<Document>& documents) {
    for (const Document& document : documents) {
        if (!document.isRuleList)
            continue;
        for (const Rule& rule : document.rules) {
            std::string tags;
            for (const std::string& tag : rule.tags)
                tags += (tags.empty() ? "" : ",") + fieldText(tag);
            m_Out << fieldText(rule.id) << '\t' << fieldText(rule.severity) << '\t' << tags << '\t'
                  << fieldText(rule.title) << '\n';
        }
    }
}

int CheckCommand::run(const std::vector<std::string>& files, bool withRules,
                      const std::optional<std::string>& inlineText) {
    std::vector<Document> documents;
    bool unreadable = false;
    const std::string note = undescribedNote(m_Plugins);
    if (!note.empty())
        m_Err << "corehost: " << note << '\n';
    const std::vector<Finding> settings = checkSettings(m_Settings, m_Plugins);
    std::size_t listed = 0;
    std::size_t omitted = 0;
    const auto list = [&](const std::string& line) {
        if (listed == kFindingsListed) {
            ++omitted;
            return;
        }
        m_Out << line << '\n';
        ++listed;
    };
    for (const Finding& finding : settings)
        list(formatFinding(finding));
    bool found = !settings.empty();
    const std::vector<std::string> sources = inlineText ? std::vector<std::string>{""} : files;
    for (const std::string& file : sources) {
        Document document;
        const std::string source = inlineText ? "<inline>" : file == "-" ? "<stdin>" : file;
        std::string text = inlineText.value_or("");
        std::string reason;
        InputError error;
        if (!inlineText && !DocumentReader::readSource(file, text, reason)) {
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
        const std::vector<DocumentFinding> findings = checkDocument(document, m_Plugins);
        for (const DocumentFinding& finding : findings)
            list(formatFinding(finding));
        found = found || !findings.empty();
        documents.push_back(std::move(document));
    }
    if (omitted > 0)
        m_Out << moreFindings(omitted) << '\n';
    InputError duplicate;
    if (!DocumentReader::checkUniqueIds(documents, duplicate)) {
        m_Err << "corehost: " << duplicate.source << ": " << duplicate.path << ": "
              << duplicate.message << '\n';
        unreadable = true;
    }
    if (withRules)
        listRules(documents);
    return unreadable ? kExitUsage : found ? kExitExpressionFailed : kExitSuccess;
}

} // namespace corehost
