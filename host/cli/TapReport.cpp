// The TAP version 13 report: the plan first, then "ok N - id" or
// "not ok N - id" per rule ("ok N - id # SKIP no expectation, ..." for a rule
// that expects nothing), with a YAML block that says why a rule failed and
// carries its metadata. The YAML is kept to what TAP readers parse: strings
// longer than kYamlCharacters are cut (their length stated), several lines
// become a block scalar, lists are YAML lists.
#include "cli/Report.h"
#include "eval/MessageText.h"

namespace corehost {

namespace {

// Perl's TAP::Parser cannot read a quoted YAML string of about 65,535
// characters or more and then drops every later test; values are cut well
// below that, escapes included.
constexpr std::size_t kYamlCharacters = 4096;

// How many characters of a result the SKIP directive quotes.
constexpr std::size_t kSkipCharacters = 200;

// Several lines, none of them empty, starting with a blank or needing an
// escape: what a block scalar carries exactly (a TAP reader ends a block at an
// empty or less indented line, and a block has no escapes).
bool blockLines(const std::string& text, std::vector<std::string>& lines) {
    if (text.find('\n') == std::string::npos)
        return false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        if (line.empty() || line[0] == ' ' || escapeText(line) != line)
            return false;
        lines.push_back(std::move(line));
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

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
        m_Out << (failed ? "not ok " : "ok ") << ++m_Count << " - " << escapeText(report.name, '#');
        if (report.status == RuleStatus::None || report.status == RuleStatus::Skipped)
            m_Out << " # SKIP " << describeSkip(report, kSkipCharacters);
        m_Out << '\n';
        if (!failed && !hasMetadata(rule) && report.explanation.empty())
            return;
        m_Out << "  ---\n";
        if (failed)
            text("message", describeProblem(report), false);
        if (report.status == RuleStatus::Fail) {
            values("expected", rule.expect->values, rule.expect->isList);
            values("actual", report.result, report.tree->type() == PluginSDK::VECTOR_EXPRESSION);
        }
        if (report.status == RuleStatus::Error) {
            m_Out << "  code: " << report.code << '\n';
            text("error", describeCode(report.code, failingModule(report)), false);
        }
        text("title", rule.title, true);
        text("severity", rule.severity, true);
        text("description", rule.description, true);
        if (!rule.tags.empty())
            values("tags", rule.tags, true);
        if (!report.explanation.empty())
            values("explanation", report.explanation, true);
        m_Out << "  ...\n";
    }

    // A comment after the tests: the image that was scanned, when one was.
    void summary(const Summary& counts) override {
        if (!counts.root.empty())
            m_Out << "# root: " << escapeText(counts.root) << '\n';
    }

    void inputError(const std::string& message) override {
        m_Out << "TAP version 13\n1..1\nnot ok 1 - input\n  ---\n";
        text("message", message, false);
        m_Out << "  ...\n";
    }

private:
    // A scalar: a block scalar for several lines, else a double-quoted
    // string; cut after kYamlCharacters characters. Empty texts are left out
    // when `optional`.
    void text(const char* key, const std::string& value, bool optional) {
        if (value.empty() && optional)
            return;
        m_Out << "  " << key << ": " << scalar(value, "    ") << '\n';
    }

    // A list of texts as a YAML list, or one text when `list` is false.
    void values(const char* key, const std::vector<std::string>& items, bool list) {
        if (!list) {
            text(key, items.empty() ? std::string() : items.front(), false);
            return;
        }
        if (items.empty()) {
            m_Out << "  " << key << ": []\n";
            return;
        }
        m_Out << "  " << key << ":\n";
        for (const std::string& item : items)
            m_Out << "    - " << scalar(item, "      ") << '\n';
    }

    static std::string scalar(const std::string& value, const char* indent) {
        std::string cut = value;
        const std::size_t length = countCharacters(value);
        const bool wasCut = cutText(cut, kYamlCharacters);
        std::vector<std::string> lines;
        if (!wasCut && blockLines(cut, lines)) {
            std::string block = "|";
            for (const std::string& line : lines)
                block.append("\n").append(indent).append(line);
            return block;
        }
        std::string quoted = quoteText(cut);
        if (wasCut)
            quoted.insert(quoted.size() - 1, "... (" + std::to_string(length) + " characters)");
        return quoted;
    }

    std::ostream& m_Out;
    std::size_t m_Count = 0;
};

} // namespace

std::unique_ptr<Reporter> makeTapReporter(std::ostream& out) {
    return std::make_unique<TapReporter>(out);
}

} // namespace corehost
