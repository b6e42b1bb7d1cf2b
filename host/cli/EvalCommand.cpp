// Evaluation of documents: nothing is evaluated unless every document was read
// and every tree was built.
#include "cli/EvalCommand.h"

#include "cli/Explanation.h"
#include "cli/OutputFile.h"
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
    const std::string plugin = PluginSet::pluginName(tree.nodeModule(failure.node));
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

// The median time of one evaluation in constant memory: exact up to
// kCapacity evaluations, beyond that the median of a uniform random sample of
// kCapacity of them (reservoir sampling).
class TimeSample {
public:
    static constexpr std::size_t kCapacity = 4096;

    void add(long long nanoseconds) {
        ++m_Count;
        if (m_Times.size() < kCapacity) {
            m_Times.push_back(nanoseconds);
            return;
        }
        const std::uint64_t slot = next() % m_Count;
        if (slot < kCapacity)
            m_Times[slot] = nanoseconds;
    }

    long long median() {
        if (m_Times.empty())
            return 0;
        const auto middle = m_Times.begin() + static_cast<std::ptrdiff_t>(m_Times.size() / 2);
        std::nth_element(m_Times.begin(), middle, m_Times.end());
        return *middle;
    }

private:
    std::uint64_t next() { // xorshift64: cheap and good enough to pick slots
        m_State ^= m_State << 13;
        m_State ^= m_State >> 7;
        m_State ^= m_State << 17;
        return m_State;
    }

    std::vector<long long> m_Times;
    std::uint64_t m_Count = 0;
    std::uint64_t m_State = 0x9E3779B97F4A7C15ull;
};

// Whether a rule's "onlyIf" tree, evaluated without a failure, lets the rule
// apply: only the scalar result "true" does.
bool conditionHolds(const ExpressionTree& condition) {
    return condition.type() == PluginSDK::SCALAR_EXPRESSION &&
           toUtf8(condition.scalarResult().str()) == "true";
}

// What evaluating a rule `repeat` times gave: the last evaluation's code and
// whether the rule applied then, and the median time of one evaluation.
struct RuleRun {
    TErrorCode code = 0;
    bool applies = true;
    bool conditionFailed = false;
    long long medianNanoseconds = 0;
};

// Evaluates the rule's "onlyIf" tree (when it has one) and, when that gives
// "true", the rule's tree, `repeat` times; each timing covers both, so a
// skipped rule is timed for its condition alone. With `explain`, the last
// evaluation records what every node did.
RuleRun evaluateRepeatedly(ExpressionTree* condition, ExpressionTree& tree, unsigned repeat,
                           bool explain) {
    TimeSample sample;
    RuleRun run;
    for (unsigned i = 0; i < repeat; ++i) {
        const bool record = explain && i + 1 == repeat;
        const Clock::time_point start = Clock::now();
        run.applies = true;
        run.conditionFailed = false;
        if (condition) {
            condition->recordOutcomes(record);
            run.code = condition->evaluate();
            run.conditionFailed = run.code != 0;
            run.applies = !run.conditionFailed && conditionHolds(*condition);
        }
        if (run.applies) {
            tree.recordOutcomes(record);
            run.code = tree.evaluate();
        }
        sample.add(
            std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count());
    }
    if (condition)
        condition->recordOutcomes(false);
    tree.recordOutcomes(false);
    run.medianNanoseconds = sample.median();
    return run;
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

// The rank of a severity, from 0 for "info"; -1 for none.
int severityRank(const std::string& severity) {
    const char* const names[] = {"info", "low", "medium", "high", "critical"};
    for (int rank = 0; rank < 5; ++rank)
        if (severity == names[rank])
            return rank;
    return -1;
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

bool EvalCommand::select(const EvalOptions& options, const std::vector<Document>& documents,
                         std::vector<std::vector<bool>>& selected) {
    const bool all = options.rules.empty() && options.tags.empty();
    const std::set<std::string> ids(options.rules.begin(), options.rules.end());
    const std::set<std::string> tags(options.tags.begin(), options.tags.end());
    std::set<std::string> idsFound;
    std::set<std::string> tagsFound;
    // Every id and tag of the documents, for a hint at a misspelt one.
    std::vector<std::string> allIds;
    std::set<std::string> allTags;
    selected.clear();
    for (const Document& document : documents) {
        selected.emplace_back();
        for (const Rule& rule : document.rules) {
            if (!rule.id.empty())
                allIds.push_back(rule.id);
            allTags.insert(rule.tags.begin(), rule.tags.end());
            bool chosen = all;
            if (!rule.id.empty() && ids.count(rule.id) != 0) {
                idsFound.insert(rule.id);
                chosen = true;
            }
            for (const std::string& tag : rule.tags) {
                if (tags.count(tag) != 0) {
                    tagsFound.insert(tag);
                    chosen = true;
                }
            }
            selected.back().push_back(chosen);
        }
    }
    for (const std::string& id : ids) {
        if (idsFound.count(id) == 0) {
            inputError("--rule " + quoteText(id) + ": no rule has this id" +
                       didYouMean(suggestName(id, allIds)));
            return false;
        }
    }
    for (const std::string& tag : tags) {
        if (tagsFound.count(tag) == 0) {
            inputError("--tag " + quoteText(tag) + ": no rule carries this tag" +
                       didYouMean(suggestName(tag, {allTags.begin(), allTags.end()})));
            return false;
        }
    }
    return true;
}

void EvalCommand::printSummary(const Summary& counts, Clock::time_point started) {
    char time[32];
    std::snprintf(time, sizeof time, "%.3f", secondsSince(started));
    m_Err << "corehost: passed " << counts.passed << ", failed " << counts.failed << ", errors "
          << counts.errors << ", without expectation " << counts.withoutExpectation
          << (counts.skipped ? ", skipped " + std::to_string(counts.skipped) : std::string())
          << "; " << counts.rules << (counts.rules == 1 ? " rule" : " rules") << " in " << time
          << " s\n";
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
    std::ostringstream findings;
    CheckCommand check(*m_Plugins, findings, m_Err, options.settings);
    std::size_t count = check.reportSettings("corehost: ");
    for (const Document& document : documents)
        count += check.report(document, "corehost: ");
    if (count == 0)
        return true;
    const std::string text = findings.str();
    m_Err << text;
    const std::string first = text.substr(10, text.find('\n') - 10); // after "corehost: "
    m_InputError = first;
    m_Err << "corehost: " << count << (count == 1 ? " finding" : " findings")
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
    int error = 0;
    const int fd =
        ::open(options.outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = errno;
    } else {
        {
            OutputFile buffer(fd);
            std::ostream file(&buffer);
            file << report.str();
            file.flush();
            error = buffer.error();
        }
        if (::close(fd) != 0 && error == 0)
            error = errno;
    }
    if (error != 0) {
        m_Err << "corehost: cannot write " << escapeText(options.outputFile) << ": "
              << std::strerror(error) << '\n';
        return kExitUsage;
    }
    return status;
}

int EvalCommand::evaluate(const EvalOptions& options, std::ostream& out) {
    const Clock::time_point started = Clock::now();
    std::vector<Document> documents;
    std::vector<std::vector<bool>> selected;
    if (!readDocuments(options, documents) || !checkDocuments(options, documents))
        return kExitUsage;
    if (!select(options, documents, selected)) {
        printSummary(Summary(), started); // --rule or --tag chose nothing
        return kExitUsage;
    }
    const bool several = documents.size() > 1;

    // Every tree of every document is built before anything is evaluated.
    std::vector<std::vector<std::unique_ptr<ExpressionTree>>> trees(documents.size());
    // The rules' "onlyIf" trees, null where a rule has none.
    std::vector<std::vector<std::unique_ptr<ExpressionTree>>> conditions(documents.size());
    std::size_t selectedCount = 0;
    for (std::size_t d = 0; d < documents.size(); ++d) {
        const Document& document = documents[d];
        for (std::size_t r = 0; r < document.rules.size(); ++r) {
            const Rule& rule = document.rules[r];
            selectedCount += selected[d][r] ? 1 : 0;
            BuildError buildError;
            conditions[d].emplace_back();
            if (rule.onlyIf) {
                conditions[d].back() =
                    ExpressionTree::build(m_Plugins, *rule.onlyIf, rule.onlyIfPath, buildError);
                if (!conditions[d].back())
                    trees[d].emplace_back(); // reported below
            }
            if (!rule.onlyIf || conditions[d].back())
                trees[d].push_back(
                    ExpressionTree::build(m_Plugins, rule.tree, rule.path, buildError));
            if (trees[d].back())
                continue;
            if (buildError.isInputError()) {
                inputError(escapeText(document.source) + ": " + describePath(buildError.path) +
                           ": " + buildError.describe());
                return kExitUsage;
            }
            // The plug-in could not create a registered expression: nothing is
            // evaluated, and a report file says why.
            inputError(ruleLabel(document, rule, several) + buildError.describe() + " at " +
                       describePath(buildError.path) +
                       (buildError.code != 0 ? ": " + describeCode(buildError.code) : ""));
            return kExitExpressionFailed;
        }
    }

    ReportStyle style;
    style.severalDocuments = several;
    style.colour = options.colour;
    style.verbose = options.verbosity > 0;
    std::unique_ptr<Reporter> reporter = makeReporter(options.format, out, style);
    m_ReportStarted = true;
    reporter->begin(selectedCount);
    // -q leaves out of the text and JSON reports the rules that did not fail.
    const bool quiet = options.verbosity < 0 && (options.format == ReportFormat::Text ||
                                                 options.format == ReportFormat::Json);
    const int failOn = options.failOn.empty() ? -1 : severityRank(options.failOn);
    Summary counts;
    std::size_t failing = 0; // failures that set the exit status
    bool anyExpectation = false;
    for (std::size_t d = 0; d < documents.size(); ++d) {
        const Document& document = documents[d];
        reporter->beginDocument(document);
        for (std::size_t r = 0; r < document.rules.size(); ++r) {
            if (!selected[d][r])
                continue;
            const Rule& rule = document.rules[r];
            ExpressionTree& tree = *trees[d][r];
            RuleReport report;
            report.document = &document;
            report.rule = &rule;
            report.tree = &tree;
            report.name = document.isRuleList ? rule.id : document.source;
            const Clock::time_point start = Clock::now();
            // The rule applies when its "onlyIf" tree gives "true"; a failing
            // condition is an error of the rule.
            ExpressionTree* condition = conditions[d][r].get();
            const RuleRun run =
                evaluateRepeatedly(condition, tree, options.repeat, options.explain);
            const bool applies = run.applies;
            report.code = run.code;
            report.seconds = secondsSince(start);
            if (run.conditionFailed) {
                report.tree = condition;
            } else if (condition) {
                report.condition = resultTexts(*condition);
                report.conditionIsList = condition->type() != PluginSDK::SCALAR_EXPRESSION;
            }
            if (report.code != 0) {
                report.failure = describeFailure(*report.tree, report.code);
                m_Err << "corehost: " << ruleLabel(document, rule, several) << report.failure
                      << '\n';
            } else if (applies) {
                report.result = resultTexts(tree);
            }
            report.status =
                report.code == 0 && !applies ? RuleStatus::Skipped : statusOf(rule, report);
            if (options.explain && condition)
                report.explanation = explainWithCondition(
                    *condition, applies ? &tree : nullptr,
                    run.conditionFailed ? "onlyIf failed" : describeSkip(report, 200));
            else if (options.explain)
                report.explanation = explain(tree);
            const bool failed =
                report.status == RuleStatus::Fail || report.status == RuleStatus::Error;
            switch (report.status) {
            case RuleStatus::Pass:
                ++counts.passed;
                break;
            case RuleStatus::Fail:
                ++counts.failed;
                break;
            case RuleStatus::Error:
                ++counts.errors;
                break;
            case RuleStatus::None:
                ++counts.withoutExpectation;
                break;
            case RuleStatus::Skipped:
                ++counts.skipped;
                break;
            }
            if (failed && severityRank(rule.severity) >= failOn)
                ++failing;
            anyExpectation = anyExpectation || rule.expect || rule.onlyIf;
            if (!quiet || failed)
                reporter->rule(report);
            // Each rule's report reaches standard output before the next rule's
            // messages reach standard error; a failed write ends the run.
            if (!out.flush())
                return kExitUsage;
            if (options.timed)
                m_Err << "corehost: " << ruleLabel(document, rule, several) << "median "
                      << run.medianNanoseconds << " ns per evaluation over " << options.repeat
                      << " evaluations" << (applies ? "" : " (of its onlyIf alone)") << '\n';
        }
        reporter->endDocument();
    }
    counts.rules = selectedCount;
    reporter->summary(counts);
    reporter->end();
    if (!out.flush())
        return kExitUsage;

    if (anyExpectation || several || options.verbosity != 0 || selectedCount == 0)
        printSummary(counts, started);
    if (selectedCount == 0) {
        m_Err << "corehost: nothing was evaluated: the documents hold no rules\n";
        return kExitUsage;
    }
    return failing == 0 ? kExitSuccess : kExitExpressionFailed;
}

} // namespace corehost
