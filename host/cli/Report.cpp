// The reporters' shared descriptions and the choice of a reporter.
#include "cli/Report.h"

#include "cli/Severity.h"
#include "eval/MessageText.h"

namespace corehost {

std::unique_ptr<Reporter> makeTextReporter(std::ostream& out, const ReportStyle& style);
std::unique_ptr<Reporter> makeJsonReporter(std::ostream& out, const ReportStyle& style);
std::unique_ptr<Reporter> makeHtmlReporter(std::ostream& out, const ReportStyle& style);
std::unique_ptr<Reporter> makeJunitReporter(std::ostream& out);
std::unique_ptr<Reporter> makeTapReporter(std::ostream& out);

const ReportFormatName kReportFormats[5] = {{"text", ReportFormat::Text, "the default"},
                                            {"json", ReportFormat::Json, "one object per rule"},
                                            {"junit", ReportFormat::Junit, "JUnit XML"},
                                            {"tap", ReportFormat::Tap, "TAP version 13"},
                                            {"html", ReportFormat::Html, "one HTML page"}};

std::unique_ptr<Reporter> makeReporter(ReportFormat format, std::ostream& out,
                                       const ReportStyle& style) {
    switch (format) {
    case ReportFormat::Json:
        return makeJsonReporter(out, style);
    case ReportFormat::Html:
        return makeHtmlReporter(out, style);
    case ReportFormat::Junit:
        return makeJunitReporter(out);
    case ReportFormat::Tap:
        return makeTapReporter(out);
    case ReportFormat::Text:
        break;
    }
    return makeTextReporter(out, style);
}

const char* statusName(RuleStatus status) {
    switch (status) {
    case RuleStatus::Pass:
        return "pass";
    case RuleStatus::Fail:
        return "fail";
    case RuleStatus::Error:
        return "error";
    case RuleStatus::Skipped:
        return "skip";
    case RuleStatus::None:
        break;
    }
    return "none";
}

void StatusCounts::add(RuleStatus status) {
    switch (status) {
    case RuleStatus::Pass:
        ++passed;
        break;
    case RuleStatus::Fail:
        ++failed;
        break;
    case RuleStatus::Error:
        ++errors;
        break;
    case RuleStatus::None:
        ++withoutExpectation;
        break;
    case RuleStatus::Skipped:
        ++skipped;
        break;
    }
}

const char* const kNoSection = "(no section)";
const char* const kNoSeverity = "(no severity)";

std::string sectionOf(const Rule& rule) {
    return rule.tags.empty() ? std::string(kNoSection) : rule.tags.front();
}

void Summary::add(RuleStatus status, const Rule& rule) {
    add(status);
    bySection[sectionOf(rule)].add(status);
    bySeverity[rule.severity.empty() ? std::string(kNoSeverity) : rule.severity].add(status);
}

std::vector<std::pair<std::string, StatusCounts>> bySeverityOrder(const Summary& counts) {
    std::vector<std::pair<std::string, StatusCounts>> ordered;
    for (int rank = 4; rank >= 0; --rank) {
        const auto found = counts.bySeverity.find(kSeverities[rank]);
        if (found != counts.bySeverity.end())
            ordered.push_back(*found);
    }
    for (const auto& entry : counts.bySeverity)
        if (severityRank(entry.first) < 0)
            ordered.push_back(entry);
    return ordered;
}

bool hasMetadata(const Rule& rule) {
    return !rule.title.empty() || !rule.description.empty() || !rule.severity.empty() ||
           !rule.tags.empty();
}

const char* codeMeaning(TErrorCode code, const PluginModule* module) {
    if (module)
        return module->codeMeaning(code);
    return code == 0 ? "success" : "unknown code";
}

std::string describeCode(TErrorCode code, const PluginModule* module) {
    return std::to_string(code) + " (" + codeMeaning(code, module) + ")";
}

const PluginModule* failingModule(const RuleReport& report) {
    if (!report.tree || report.code == 0)
        return nullptr;
    return &report.tree->nodeModule(report.tree->failure().node);
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
    if (!report.found.empty())
        return report.found;
    return "expected " + describeExpected(*report.rule->expect) + ", got " + describeResult(report);
}

std::size_t countCharacters(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

bool cutText(std::string& text, std::size_t limit) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if ((static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
            continue;
        if (count++ == limit) {
            text.resize(at);
            return true;
        }
    }
    return false;
}

std::string describeSkip(const RuleReport& report, std::size_t limit) {
    const bool skipped = report.status == RuleStatus::Skipped;
    if (skipped && !report.skipReason.empty())
        return report.skipReason;
    std::string result = !skipped                 ? describeResult(report)
                         : report.conditionIsList ? quoteList(report.condition)
                                                  : quoteText(report.condition.front());
    const std::size_t length = countCharacters(result);
    if (cutText(result, limit))
        result += "... (" + std::to_string(length) + " characters)";
    return (skipped ? "onlyIf gave " : "no expectation, result ") + result;
}

} // namespace corehost
