// The reporters' shared descriptions and the choice of a reporter.
#include "cli/Report.h"

#include "eval/Catalog.h"
#include "eval/MessageText.h"

namespace corehost {

std::unique_ptr<Reporter> makeTextReporter(std::ostream& out, bool severalDocuments);
std::unique_ptr<Reporter> makeJsonReporter(std::ostream& out, bool severalDocuments);
std::unique_ptr<Reporter> makeJunitReporter(std::ostream& out);
std::unique_ptr<Reporter> makeTapReporter(std::ostream& out);

std::unique_ptr<Reporter> makeReporter(ReportFormat format, std::ostream& out,
                                       bool severalDocuments) {
    switch (format) {
    case ReportFormat::Json:
        return makeJsonReporter(out, severalDocuments);
    case ReportFormat::Junit:
        return makeJunitReporter(out);
    case ReportFormat::Tap:
        return makeTapReporter(out);
    case ReportFormat::Text:
        break;
    }
    return makeTextReporter(out, severalDocuments);
}

const char* statusName(RuleStatus status) {
    switch (status) {
    case RuleStatus::Pass:
        return "pass";
    case RuleStatus::Fail:
        return "fail";
    case RuleStatus::Error:
        return "error";
    case RuleStatus::None:
        break;
    }
    return "none";
}

bool hasMetadata(const Rule& rule) {
    return !rule.title.empty() || !rule.description.empty() || !rule.severity.empty() ||
           !rule.tags.empty();
}

std::string describeCode(TErrorCode code) {
    return std::to_string(code) + " (" + codeMeaning(code) + ")";
}

std::string describeExpected(const Expectation& expectation) {
    if (expectation.isList)
        return quoteList(expectation.values);
    return quoteText(expectation.values.empty() ? std::string() : expectation.values.front());
}

std::string describeResult(const RuleReport& report) {
    if (report.tree->type() == PluginSDK::VECTOR_EXPRESSION)
        return quoteList(report.result);
    return quoteText(report.result.empty() ? std::string() : report.result.front());
}

std::string describeProblem(const RuleReport& report) {
    if (report.status == RuleStatus::Error)
        return report.failure;
    if (report.status != RuleStatus::Fail)
        return std::string();
    return "expected " + describeExpected(*report.rule->expect) + ", got " + describeResult(report);
}

} // namespace corehost
