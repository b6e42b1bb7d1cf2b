// The HTML report of an evaluation: the rules are kept as records and the
// page is written at the end, when the counts are known.
#include "cli/HostPage.h"
#include "cli/Report.h"

namespace corehost {

namespace {

class HtmlReporter : public Reporter {
public:
    HtmlReporter(std::ostream& out, const ReportStyle& style) : m_Out(out) {
        if (style.run)
            m_Host.run = *style.run;
    }

    void rule(const RuleReport& report) override { addRule(m_Host, recordOf(report)); }

    // The run's own counts: with -q not every rule is reported.
    void summary(const Summary& counts) override { m_Host.counts = counts; }

    void end() override { writeHostPage(m_Out, m_Host); }

    void inputError(const std::string& message) override {
        m_Host.error = message;
        writeHostPage(m_Out, m_Host);
    }

private:
    std::ostream& m_Out;
    HostRecord m_Host;
};

} // namespace

std::unique_ptr<Reporter> makeHtmlReporter(std::ostream& out, const ReportStyle& style) {
    return std::make_unique<HtmlReporter>(out, style);
}

} // namespace corehost
