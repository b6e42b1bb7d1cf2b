// Evaluation of documents: nothing is evaluated unless every document was read
// and every tree was built.
#include "cli/EvalCommand.h"

#include "base/ScanRoot.h"
#include "cli/ExitCodes.h"
#include "cli/Explanation.h"
#include "cli/FoundValue.h"
#include "cli/OutputFile.h"
#include "cli/Severity.h"
#include "eval/DocumentCheck.h"
#include "eval/DocumentReader.h"
#include "eval/ExpressionTree.h"
#include "eval/MessageText.h"
#include "eval/NameSuggestion.h"
#include "eval/TextConversion.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sstream>
#include <unistd.h>

namespace corehost {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// "rule "id": " for a rule of a rules document, "<source>: " for a single tree
// among several documents, nothing for a single tree alone.
std::string ruleLabel(const Document& document, const Rule& rule, bool severalDocuments) {
    if (document.isRuleList)
        return "rule " + quote(rule.id) + ": ";
    return severalDocuments ? escapeText(document.source) + ": " : std::string();
}

std::string describeFailure(const ExpressionTree& tree, TErrorCode code) {
    const EvaluationFailure& failure = tree.failure();
    const PluginModule* plugin = &tree.nodeModule(failure.node);
    std::string text = escapeText(toUtf8(tree.nodeName(failure.node))) + " at " +
                       describePath(tree.nodePath(failure.node));
    switch (failure.stage) {
    case EvaluationFailure::Stage::Result:
        return text + " failed with " + describeCode(code, plugin);
    case EvaluationFailure::Stage::Update:
        return text + " refused the result of " +
               describePath(tree.childPath(failure.node, failure.child)) + " with " +
               describeCode(code, plugin);
    case EvaluationFailure::Stage::UpdateWithError:
        return text + " failed on the failure of " +
               describePath(tree.childPath(failure.node, failure.child)) + " with " +
               describeCode(code, plugin);
    }
    return text;
}

std::vector<std::string> resultTexts(const ExpressionTree& tree) {
    std::vector<std::string> texts;
    if (tree.type() == PluginSDK::SCALAR_EXPRESSION) {
        texts.push_back(toUtf8(tree.scalarResult().str()));
        return texts;
    }
    for (const PluginSDK::String& item : tree.vectorResult().items())
        texts.push_back(toUtf8(item.str()));
    return texts;
}

RuleStatus statusOf(const Rule& rule, const RuleReport& report) {
    if (report.code != 0)
        return RuleStatus::Error;
    if (!rule.expect)
        return RuleStatus::None;
    const bool list = report.tree->type() == PluginSDK::VECTOR_EXPRESSION;
    const bool met = rule.expect->isList == list && rule.expect->values == report.result;
    return met ? RuleStatus::Pass : RuleStatus::Fail;
}

// The document holding the first rule id met a second time, in order: the one
// that DocumentReader::checkUniqueIds reports.
const Document& documentOfRepeatedId(const std::vector<Document>& documents) {
    std::set<std::string> seen;
    for (const Document& document : documents)
        for (const Rule& rule : document.rules)
            if (!rule.id.empty() && !seen.insert(rule.id).second)
                return document;
    return documents.front();
}

// "passed 1, failed 2": the counts that are not 0.
std::string describeCounts(const StatusCounts& counts) {
    const std::pair<const char*, std::size_t> parts[] = {
        {"passed", counts.passed},
        {"failed", counts.failed},
        {"errors", counts.errors},
        {"without expectation", counts.withoutExpectation},
        {"skipped", counts.skipped}};
    std::string text;
    for (const auto& part : parts)
        if (part.second != 0)
            text += (text.empty() ? "" : ", ") + std::string(part.first) + " " +
                    std::to_string(part.second);
    return text;
}

} // namespace

bool EvalCommand::readDocuments(const EvalOptions& options, std::vector<Document>& documents) {
    std::vector<std::string> sources = options.files;
    if (options.hasInline)
        sources.assign(1, std::string());
    if (std::count(sources.begin(), sources.end(), "-") > 1) {
        inputError("standard input (-) can be read only once");
        return false;
    }
    documents.resize(sources.size());
    for (std::size_t i = 0; i < sources.size(); ++i) {
        std::string text;
        Document& document = documents[i];
        const std::string source = options.hasInline   ? "<inline>"
                                   : sources[i] == "-" ? "<stdin>"
                                                       : sources[i];
        if (options.hasInline) {
            text = options.inlineText;
        } else {
            std::string reason;
            if (!DocumentReader::readSource(sources[i], text, reason)) {
                inputError("cannot read " + escapeText(source) + ": " + reason);
                return false;
            }
        }
        InputError error;
        if (!DocumentReader::parse(text, document, error)) {
            inputError(escapeText(source) + ": " + describePath(error.path) + ": " + error.message);
            return false;
        }
        document.source = source;
    }
    InputError error;
    if (!DocumentReader::checkUniqueIds(documents, error)) {
        inputError(escapeText(documentOfRepeatedId(documents).source) + ": " +
                   describePath(error.path) + ": " + error.message);
        return false;
    }
    return true;
}

void EvalCommand::printSummary(const Summary& counts, Clock::time_point started,
                               const std::string& failOn, std::size_t failing) {
    char time[32];
    std::snprintf(time, sizeof time, "%.3f", secondsSince(started));
    m_Err << "corehost: passed " << counts.passed << ", failed " << counts.failed << ", errors "
          << counts.errors << ", without expectation " << counts.withoutExpectation
          << (counts.skipped ? ", skipped " + std::to_string(counts.skipped) : std::string())
          << "; " << counts.rules << (counts.rules == 1 ? " rule" : " rules") << " in " << time
          << " s" << (counts.root.empty() ? "" : " (root " + escapeText(counts.root) + ")");
    if (!failOn.empty())
        m_Err << "; " << failing << (failing == 1 ? " failure" : " failures") << " of severity "
              << failOn << " or above " << (failing == 1 ? "sets" : "set")
              << " the exit status (--fail-on " << failOn << ')';
    m_Err << '\n';
    // By severity (the most severe first) and by section, when the rules
    // carry either.
    const bool sections =
        counts.bySection.size() > 1 ||
        (counts.bySection.size() == 1 && counts.bySection.begin()->first != kNoSection);
    const bool severities =
        counts.bySeverity.size() > 1 ||
        (counts.bySeverity.size() == 1 && counts.bySeverity.begin()->first != kNoSeverity);
    if (!sections && !severities)
        return;
    const std::vector<std::pair<std::string, StatusCounts>> bySeverity = bySeverityOrder(counts);
    const std::vector<std::pair<std::string, StatusCounts>> bySection(counts.bySection.begin(),
                                                                      counts.bySection.end());
    for (const auto& group :
         {std::make_pair("severity", &bySeverity), std::make_pair("section", &bySection)}) {
        m_Err << "corehost: by " << group.first << ":";
        const char* separator = " ";
        for (const auto& entry : *group.second) {
            m_Err << separator << escapeText(entry.first) << " (" << describeCounts(entry.second)
                  << ")";
            separator = ", ";
        }
        m_Err << '\n';
    }
}

void EvalCommand::inputError(const std::string& message) {
    m_Err << "corehost: " << message << '\n';
    if (m_InputError.empty())
        m_InputError = message;
}

bool EvalCommand::checkDocuments(const EvalOptions& options,
                                 const std::vector<Document>& documents) {
    if (!options.check)
        return true;
    std::vector<std::string> lines;
    for (const Finding& finding : checkSettings(options.settings, *m_Plugins))
        lines.push_back(formatFinding(finding));
    for (const Document& document : documents)
        for (const DocumentFinding& finding : checkDocument(document, *m_Plugins))
            lines.push_back(formatFinding(finding));
    if (lines.empty())
        return true;
    for (std::size_t i = 0; i < lines.size() && i < kFindingsListed; ++i)
        m_Err << "corehost: " << lines[i] << '\n';
    if (lines.size() > kFindingsListed)
        m_Err << "corehost: " << moreFindings(lines.size() - kFindingsListed) << '\n';
    m_InputError = lines.front();
    m_Err << "corehost: " << lines.size() << (lines.size() == 1 ? " finding" : " findings")
          << "; nothing was evaluated\n";
    return false;
}

int EvalCommand::run(const EvalOptions& options) {
    if (options.outputFile.empty())
        return evaluate(options, m_Out);
    // The report is kept until the end, so that the file is opened only after
    // every document was read (it may be one of them) and holds a whole report.
    std::ostringstream report;
    const int status = evaluate(options, report);
    // An invalid input still leaves a valid report that says so.
    if (!m_ReportStarted && !m_InputError.empty())
        makeReporter(options.format, report, ReportStyle())->inputError(m_InputError);
    int error = m_OutputError;
    if (error == 0)
        error = m_OutputFd >= 0 ? writeWholeDescriptor(m_OutputFd, report.str())
                                : writeWholeFile(options.outputFile, report.str());
    m_OutputFd = -1;
    if (error != 0) {
        m_Err << "corehost: cannot write " << escapeText(options.outputFile) << ": "
              << std::strerror(error) << '\n';
        return kExitUsage;
    }
    return status;
}

bool EvalCommand::buildTrees(std::vector<RuleEvaluation>& rules, bool severalDocuments,
                             int& status) {
    for (RuleEvaluation& entry : rules) {
        const Document& document = *entry.document;
        const Rule& rule = *entry.rule;
        BuildError error;
        if (rule.onlyIf)
            entry.condition =
                ExpressionTree::build(m_Plugins, *rule.onlyIf, rule.onlyIfPath, error);
        if (!rule.onlyIf || entry.condition)
            entry.tree = ExpressionTree::build(m_Plugins, rule.tree, rule.path, error);
        if (entry.tree)
            continue;
        if (error.isInputError()) {
            inputError(escapeText(document.source) + ": " + describePath(error.path) + ": " +
                       error.describe());
            status = kExitUsage;
            return false;
        }
        // The plug-in could not create a registered expression: nothing is
        // evaluated, and a report file says why.
        inputError(ruleLabel(document, rule, severalDocuments) + error.describe() + " at " +
                   describePath(error.path) +
                   (error.code != 0 ? ": " + describeCode(error.code, error.module) : ""));
        status = kExitExpressionFailed;
        return false;
    }
    return true;
}

bool EvalCommand::enterRoot(const EvalOptions& options) {
    if (!options.outputFile.empty() && m_OutputFd < 0 && m_OutputError == 0) {
        m_OutputFd =
            ::open(options.outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (m_OutputFd < 0)
            m_OutputError = errno;
    }
    const int rc = base::ScanRoot::enter();
    if (rc == 0)
        return true;
    inputError("cannot scan " + escapeText(options.root) + " as the root: " + std::strerror(-rc) +
               (rc == -EPERM ? " (changing the root directory needs root or CAP_SYS_CHROOT)" : ""));
    return false;
}

RuleReport EvalCommand::evaluateRule(const EvalOptions& options, RuleEvaluation& entry,
                                     bool severalDocuments) {
    const Document& document = *entry.document;
    const Rule& rule = *entry.rule;
    RuleReport report;
    report.document = &document;
    report.rule = &rule;
    report.tree = entry.tree.get();
    report.name = document.isRuleList ? rule.id : document.source;
    // What only a running system has cannot be asked of an image.
    if (!options.root.empty() &&
        std::find(rule.tags.begin(), rule.tags.end(), "runtime") != rule.tags.end()) {
        report.status = RuleStatus::Skipped;
        report.skipReason = "not applicable to an image";
        return report;
    }
    const Clock::time_point start = Clock::now();
    // The rule applies when its "onlyIf" tree gives "true"; a failing
    // condition is an error of the rule.
    ExpressionTree* condition = entry.condition.get();
    const RuleRun run = entry.run(options.repeat);
    report.code = run.code;
    report.seconds = secondsSince(start);
    if (run.conditionFailed) {
        report.tree = condition;
    } else if (condition) {
        report.condition = resultTexts(*condition);
        report.conditionIsList = condition->type() != PluginSDK::SCALAR_EXPRESSION;
    }
    if (report.code != 0) {
        report.reason = report.tree->failureReason();
        report.failure = describeFailure(*report.tree, report.code);
        if (!report.reason.empty())
            report.failure += ": " + escapeText(report.reason);
        m_Err << "corehost: " << ruleLabel(document, rule, severalDocuments) << report.failure
              << '\n';
    } else if (run.applies) {
        report.result = resultTexts(*entry.tree);
    }
    report.status = report.code == 0 && !run.applies ? RuleStatus::Skipped : statusOf(rule, report);
    if (report.status == RuleStatus::Fail)
        report.found = describeFound(*entry.tree, rule.tree, *rule.expect);
    if (options.explain && condition)
        report.explanation = explainWithCondition(
            *condition, *rule.onlyIf, run.applies ? entry.tree.get() : nullptr, rule.tree,
            run.conditionFailed ? "onlyIf failed" : describeSkip(report, 200));
    else if (options.explain)
        report.explanation = explain(*entry.tree, rule.tree);
    if (options.timed)
        m_Err << "corehost: " << ruleLabel(document, rule, severalDocuments) << "median "
              << run.medianNanoseconds << " ns per evaluation over " << options.repeat
              << " evaluations" << (run.applies ? "" : " (of its onlyIf alone)") << '\n';
    return report;
}

int EvalCommand::evaluate(const EvalOptions& options, std::ostream& out) {
    const Clock::time_point started = Clock::now();
    std::vector<Document> documents;
    if (!readDocuments(options, documents) || !checkDocuments(options, documents))
        return kExitUsage;
    std::vector<RuleEvaluation> rules = RuleEvaluation::of(documents);
    std::string error;
    if (!selectRules(options.rules, options.tags, rules, error)) {
        inputError(error); // nothing was evaluated: no summary
        return kExitUsage;
    }
    const bool several = documents.size() > 1;
    // Every tree of every document is built before anything is evaluated.
    int status = kExitSuccess;
    if (!buildTrees(rules, several, status))
        return status;
    // Everything was read and every plug-in loaded: from here on every path
    // names a file of the image.
    if (!options.root.empty() && !enterRoot(options))
        return kExitUsage;
    std::size_t selectedCount = 0;
    for (const RuleEvaluation& entry : rules)
        selectedCount += entry.selected ? 1 : 0;

    const RunInfo run = RunInfo::collect(*m_Plugins, documents);
    ReportStyle style;
    style.run = &run;
    style.severalDocuments = several;
    style.colour = options.colour;
    style.verbose = options.verbosity > 0;
    std::unique_ptr<Reporter> reporter = makeReporter(options.format, out, style);
    m_ReportStarted = true;
    reporter->begin(selectedCount);
    // -q leaves out of the text and JSON reports the rules that did not fail,
    // and with --fail-on the failures below it too; an erring rule is always
    // shown.
    const bool quiet = options.verbosity < 0 && (options.format == ReportFormat::Text ||
                                                 options.format == ReportFormat::Json);
    const int failOn = options.failOn.empty() ? -1 : severityRank(options.failOn);
    Summary counts;
    std::size_t failing = 0; // failures that set the exit status
    bool anyExpectation = false;
    std::size_t next = 0; // the rules come document after document
    for (const Document& document : documents) {
        reporter->beginDocument(document);
        for (; next < rules.size() && rules[next].document == &document; ++next) {
            RuleEvaluation& entry = rules[next];
            if (!entry.selected)
                continue;
            const RuleReport report = evaluateRule(options, entry, several);
            counts.add(report.status, *entry.rule);
            const bool failed =
                report.status == RuleStatus::Fail || report.status == RuleStatus::Error;
            const bool counted = failed && severityRank(entry.rule->severity) >= failOn;
            failing += counted ? 1 : 0;
            anyExpectation = anyExpectation || entry.rule->expect || entry.rule->onlyIf;
            if (!quiet || counted || report.status == RuleStatus::Error)
                reporter->rule(report);
            // Each rule's report reaches standard output before the next rule's
            // messages reach standard error; a failed write ends the run.
            if (!out.flush())
                return kExitUsage;
        }
        reporter->endDocument();
    }
    counts.rules = selectedCount;
    counts.root = options.root;
    reporter->summary(counts);
    reporter->end();
    if (!out.flush())
        return kExitUsage;

    if (anyExpectation || several || options.verbosity != 0 || selectedCount == 0)
        printSummary(counts, started, options.failOn, failing);
    if (selectedCount == 0) {
        m_Err << "corehost: nothing was evaluated: the documents hold no rules\n";
        return kExitUsage;
    }
    return failing == 0 ? kExitSuccess : kExitExpressionFailed;
}

} // namespace corehost
