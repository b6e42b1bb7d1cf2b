// The JUnit XML report: one testsuite per document, one testcase per rule
// (named by its id), <failure> for an unmet expectation and <error> for a
// tree that failed with a code. Every text is escaped, so the report stays
// well-formed XML 1.0 whatever the results hold. The counts are known only at
// the end, so the report is written then.
#include "cli/Report.h"
#include "eval/MessageText.h"

#include <cstdio>
#include <sstream>

namespace corehost {

namespace {

std::string seconds(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6f", value);
    return buffer;
}

struct Suite {
    std::string name;
    std::size_t tests = 0;
    std::size_t failures = 0;
    std::size_t errors = 0;
    std::size_t skipped = 0;
    double time = 0;
    std::string cases;

    std::string counts() const {
        return "tests=\"" + std::to_string(tests) + "\" failures=\"" + std::to_string(failures) +
               "\" errors=\"" + std::to_string(errors) + "\" skipped=\"" + std::to_string(skipped) +
               "\" time=\"" + seconds(time) + "\"";
    }
};

class JunitReporter : public Reporter {
public:
    explicit JunitReporter(std::ostream& out) : m_Out(out) {}

    void beginDocument(const Document& document) override {
        m_Suites.push_back(Suite());
        m_Suites.back().name = document.source;
    }

    void rule(const RuleReport& report) override {
        Suite& suite = m_Suites.back();
        ++suite.tests;
        suite.time += report.seconds;
        std::ostringstream xml;
        xml << "    <testcase name=\"" << escapeXml(escapeText(report.name), true)
            << "\" classname=\""
            << escapeXml(
                   escapeText(report.rule->tags.empty() ? suite.name : report.rule->tags.front()),
                   true)
            << "\" time=\"" << seconds(report.seconds) << "\">\n";
        const std::string problem = escapeXml(describeProblem(report), true);
        if (report.status == RuleStatus::Fail) {
            ++suite.failures;
            xml << "      <failure message=\"" << problem << "\" type=\"expectation\">"
                << "expected: " << escapeXml(describeExpected(*report.rule->expect), false)
                << "\nactual: " << escapeXml(describeResult(report), false) << "</failure>\n";
        } else if (report.status == RuleStatus::Error) {
            ++suite.errors;
            xml << "      <error message=\""
                << escapeXml(describeCode(report.code, failingModule(report)) +
                                 (report.reason.empty() ? "" : ": " + escapeText(report.reason)),
                             true)
                << "\" type=\"" << report.code << "\">" << escapeXml(report.failure, false)
                << "</error>\n";
        } else if (report.status == RuleStatus::None || report.status == RuleStatus::Skipped) {
            // Nothing was tested: the result is reported, not passed.
            ++suite.skipped;
            xml << "      <skipped message=\"" << escapeXml(describeSkip(report, 200), true)
                << "\"/>\n";
        }
        xml << "      <system-out>";
        const std::pair<const char*, const std::string*> texts[] = {
            {"title", &report.rule->title},
            {"severity", &report.rule->severity},
            {"description", &report.rule->description}};
        for (const auto& text : texts)
            if (!text.second->empty())
                xml << text.first << ": " << escapeXml(escapeText(*text.second), false) << '\n';
        if (!report.rule->tags.empty())
            xml << "tags: " << escapeXml(quoteList(report.rule->tags), false) << '\n';
        if (report.code == 0 && report.status != RuleStatus::Skipped)
            xml << "result: " << escapeXml(describeResult(report), false) << '\n';
        for (const std::string& line : report.explanation)
            xml << "| " << escapeXml(line, false) << '\n';
        xml << "</system-out>\n    </testcase>\n";
        suite.cases += xml.str();
    }

    void summary(const Summary& counts) override { m_Root = counts.root; }

    void end() override {
        Suite total;
        for (const Suite& suite : m_Suites) {
            total.tests += suite.tests;
            total.failures += suite.failures;
            total.errors += suite.errors;
            total.skipped += suite.skipped;
            total.time += suite.time;
        }
        m_Out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"corehost\" "
              << total.counts() << ">\n";
        // The image that was scanned, as a property of each suite.
        const std::string properties =
            m_Root.empty() ? std::string()
                           : "    <properties>\n      <property name=\"root\" value=\"" +
                                 escapeXml(escapeText(m_Root), true) + "\"/>\n    </properties>\n";
        for (const Suite& suite : m_Suites)
            m_Out << "  <testsuite name=\"" << escapeXml(escapeText(suite.name), true) << "\" "
                  << suite.counts() << ">\n"
                  << properties << suite.cases << "  </testsuite>\n";
        m_Out << "</testsuites>\n";
    }

    // One suite with one test case in error, so that a CI reading the file
    // sees the failure rather than an empty or missing report.
    void inputError(const std::string& message) override {
        const std::string counts =
            "tests=\"1\" failures=\"0\" errors=\"1\" skipped=\"0\" time=\"0.000000\"";
        m_Out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"corehost\" "
              << counts << ">\n  <testsuite name=\"corehost\" " << counts << ">\n"
              << "    <testcase name=\"input\" classname=\"corehost\" time=\"0.000000\">\n"
              << "      <error message=\"" << escapeXml(escapeText(message), true)
              << "\" type=\"input\"/>\n    </testcase>\n  </testsuite>\n</testsuites>\n";
    }

private:
    std::ostream& m_Out;
    std::vector<Suite> m_Suites;
    std::string m_Root;
};

} // namespace

std::unique_ptr<Reporter> makeJunitReporter(std::ostream& out) {
    return std::make_unique<JunitReporter>(out);
}

} // namespace corehost
