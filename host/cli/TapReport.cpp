// The TAP version 13 report: the plan first, then "ok N - id" or
// "not ok N - id" per rule, with a YAML block that says why a rule failed and
// carries its metadata.
#include "cli/Report.h"
#include "eval/MessageText.h"

namespace corehost {

namespace {

class TapReporter : public Reporter {
public:
    explicit TapReporter(std::ostream& out) : m_Out(out) {}

    void begin(std::size_t ruleCount) override {
        m_Out << "TAP version 13\n1.." << ruleCount << '\n';
    }

    void rule(const RuleReport& report) override {
        const Rule& rule = *report.rule;
        const bool failed = report.status == RuleStatus::Fail || report.status == RuleStatus::Error;
        // A '#' would start a directive in the description.
        m_Out << (failed ? "not ok " : "ok ") << ++m_Count << " - " << escapeText(report.name, '#')
              << '\n';
        if (!failed && !hasMetadata(rule) && report.explanation.empty())
            return;
        m_Out << "  ---\n";
        if (failed)
            m_Out << "  message: " << quoteText(describeProblem(report)) << '\n';
        if (report.status == RuleStatus::Fail)
            m_Out << "  expected: " << describeExpected(*rule.expect) << '\n'
                  << "  actual: " << describeResult(report) << '\n';
        if (report.status == RuleStatus::Error)
            m_Out << "  code: " << report.code << '\n'
                  << "  error: " << quoteText(describeCode(report.code)) << '\n';
        scalar("title", rule.title);
        scalar("severity", rule.severity);
        scalar("description", rule.description);
        if (!rule.tags.empty())
            m_Out << "  tags: " << quoteList(rule.tags) << '\n';
        if (!report.explanation.empty()) {
            m_Out << "  explanation:\n";
            for (const std::string& line : report.explanation)
                m_Out << "    - " << quoteText(line) << '\n';
        }
        m_Out << "  ...\n";
    }

private:
    void scalar(const char* key, const std::string& value) {
        if (!value.empty())
            m_Out << "  " << key << ": " << quoteText(value) << '\n';
    }

    std::ostream& m_Out;
    std::size_t m_Count = 0;
};

} // namespace

std::unique_ptr<Reporter> makeTapReporter(std::ostream& out) {
    return std::make_unique<TapReporter>(out);
}

} // namespace corehost
