// The text report: each result as it is, one line per text, escaped; a rule
// of a rules document under a line [id] that marks whether it met its
// expectation, followed by its metadata.
#include "cli/Report.h"
#include "eval/MessageText.h"

namespace corehost {

namespace {

class TextReporter : public Reporter {
public:
    TextReporter(std::ostream& out, bool severalDocuments)
        : m_Out(out), m_SeveralDocuments(severalDocuments) {}

    void rule(const RuleReport& report) override {
        const Rule& rule = *report.rule;
        if (report.document->isRuleList || m_SeveralDocuments || rule.expect) {
            m_Out << '[' << escapeText(report.name) << ']';
            if (rule.expect)
                m_Out << mark(report);
            m_Out << '\n';
        }
        metadata("title", rule.title);
        metadata("severity", rule.severity);
        if (!rule.tags.empty()) {
            m_Out << "  tags:";
            for (std::size_t i = 0; i < rule.tags.size(); ++i)
                m_Out << (i == 0 ? " " : ", ") << escapeText(rule.tags[i]);
            m_Out << '\n';
        }
        metadata("description", rule.description);
        // A failed rule prints nothing more: the failure goes to standard error.
        for (const std::string& text : report.result)
            m_Out << escapeText(text) << '\n';
        for (const std::string& line : report.explanation)
            m_Out << "  | " << line << '\n';
    }

private:
    static std::string mark(const RuleReport& report) {
        switch (report.status) {
        case RuleStatus::Pass:
            return " pass";
        case RuleStatus::Fail:
            return " FAIL: expected " + describeExpected(*report.rule->expect);
        case RuleStatus::Error:
            return " ERROR: " + describeCode(report.code);
        case RuleStatus::None:
            break;
        }
        return std::string();
    }

    void metadata(const char* key, const std::string& value) {
        if (!value.empty())
            m_Out << "  " << key << ": " << escapeText(value) << '\n';
    }

    std::ostream& m_Out;
    bool m_SeveralDocuments;
};

} // namespace

std::unique_ptr<Reporter> makeTextReporter(std::ostream& out, bool severalDocuments) {
    return std::make_unique<TextReporter>(out, severalDocuments);
}

} // namespace corehost
