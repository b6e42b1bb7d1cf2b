// The text report: each result as it is, one line per text, escaped; a rule
// of a rules document under a line [id] that marks whether it met its
// expectation, followed by its metadata. Under a header every line is
// indented, and a result line starts with "  = ", so no result can pass for a
// header or for metadata.
#include "cli/Report.h"
#include "eval/MessageText.h"

namespace corehost {

namespace {

class TextReporter : public Reporter {
public:
    TextReporter(std::ostream& out, const ReportStyle& style) : m_Out(out), m_Style(style) {}

    void rule(const RuleReport& report) override {
        const Rule& rule = *report.rule;
        const bool header = report.document->isRuleList || m_Style.severalDocuments ||
                            rule.expect || m_Style.verbose || report.status == RuleStatus::Skipped;
        if (header) {
            // A ']' in the id would end the header early.
            m_Out << '[' << escapeText(report.name, ']') << ']';
            if (rule.expect || m_Style.verbose || report.status == RuleStatus::Skipped)
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
            m_Out << (header ? "  = " : "") << escapeText(text) << '\n';
        for (const std::string& line : report.explanation)
            m_Out << "  | " << line << '\n';
    }

    // After the rules: the image that was scanned, when one was.
    void summary(const Summary& counts) override {
        if (!counts.root.empty())
            m_Out << "root: " << escapeText(counts.root) << '\n';
    }

    void inputError(const std::string& message) override { m_Out << message << '\n'; }

private:
    std::string paint(const char* colour, const std::string& text) const {
        return m_Style.colour ? std::string("\033[") + colour + "m" + text + "\033[0m" : text;
    }

    std::string mark(const RuleReport& report) const {
        switch (report.status) {
        case RuleStatus::Pass:
            return " " + paint("32", "pass");
        case RuleStatus::Fail:
            return " " + paint("31", "FAIL") + ": " +
                   (report.found.empty() ? "expected " + describeExpected(*report.rule->expect)
                                         : report.found);
        case RuleStatus::Error:
            return " " + paint("31", "ERROR") + ": " +
                   describeCode(report.code, failingModule(report)) +
                   (report.reason.empty() ? "" : ": " + escapeText(report.reason));
        case RuleStatus::Skipped:
            return " " + paint("33", "skipped") + ": " + describeSkip(report, 200);
        case RuleStatus::None:
            break;
        }
        return " " + paint("33", "no expectation");
    }

    void metadata(const char* key, const std::string& value) {
        if (!value.empty())
            m_Out << "  " << key << ": " << escapeText(value) << '\n';
    }

    std::ostream& m_Out;
    ReportStyle m_Style;
};

} // namespace

std::unique_ptr<Reporter> makeTextReporter(std::ostream& out, const ReportStyle& style) {
    return std::make_unique<TextReporter>(out, style);
}

} // namespace corehost
