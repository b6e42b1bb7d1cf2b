// Evaluation of documents: nothing is evaluated unless every document was read
// and every tree was built.
#include "cli/EvalCommand.h"

#include "cli/Explanation.h"
#include "eval/DocumentReader.h"
#include "eval/ExpressionTree.h"
#include "eval/MessageText.h"
#include "eval/TextConversion.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <set>

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
    std::string text = escapeText(toUtf8(tree.nodeName(failure.node))) + " at " +
                       describePath(tree.nodePath(failure.node));
    switch (failure.stage) {
    case EvaluationFailure::Stage::Result:
        return text + " failed with " + describeCode(code);
    case EvaluationFailure::Stage::Update:
        return text + " refused the result of " +
               describePath(tree.childPath(failure.node, failure.child)) + " with " +
               describeCode(code);
    case EvaluationFailure::Stage::UpdateWithError:
        return text + " failed on the failure of " +
               describePath(tree.childPath(failure.node, failure.child)) + " with " +
               describeCode(code);
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

// Evaluates `tree` `repeat` times and returns the last code; the median time
// of one evaluation goes to `medianNanoseconds`. With `explain`, the last
// evaluation records what every node did.
TErrorCode evaluateRepeatedly(ExpressionTree& tree, unsigned repeat, bool explain,
                              long long& medianNanoseconds) {
    TimeSample sample;
    TErrorCode code = 0;
    for (unsigned i = 0; i < repeat; ++i) {
        tree.recordOutcomes(explain && i + 1 == repeat);
        const Clock::time_point start = Clock::now();
        code = tree.evaluate();
        sample.add(
            std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count());
    }
    tree.recordOutcomes(false);
    medianNanoseconds = sample.median();
    return code;
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

} // namespace

bool EvalCommand::readDocuments(const EvalOptions& options, std::vector<Document>& documents) {
    std::vector<std::string> sources = options.files;
    if (options.hasInline)
        sources.assign(1, std::string());
    if (std::count(sources.begin(), sources.end(), "-") > 1) {
        m_Err << "corehost: standard input (-) can be read only once\n";
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
                m_Err << "corehost: cannot read " << escapeText(source) << ": " << reason << '\n';
                return false;
            }
        }
        InputError error;
        if (!DocumentReader::parse(text, document, error)) {
            m_Err << "corehost: " << escapeText(source) << ": " << describePath(error.path) << ": "
                  << error.message << '\n';
            return false;
        }
        document.source = source;
    }
    InputError error;
    if (!DocumentReader::checkUniqueIds(documents, error)) {
        m_Err << "corehost: " << escapeText(documentOfRepeatedId(documents).source) << ": "
              << describePath(error.path) << ": " << error.message << '\n';
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
    selected.clear();
    for (const Document& document : documents) {
        selected.emplace_back();
        for (const Rule& rule : document.rules) {
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
            m_Err << "corehost: --rule " << quoteText(id) << ": no rule has this id\n";
            return false;
        }
    }
    for (const std::string& tag : tags) {
        if (tagsFound.count(tag) == 0) {
            m_Err << "corehost: --tag " << quoteText(tag) << ": no rule carries this tag\n";
            return false;
        }
    }
    return true;
}

int EvalCommand::run(const EvalOptions& options) {
    const Clock::time_point started = Clock::now();
    std::vector<Document> documents;
    std::vector<std::vector<bool>> selected;
    if (!readDocuments(options, documents) || !select(options, documents, selected))
        return kExitUsage;
    const bool several = documents.size() > 1;

    // Every tree of every document is built before anything is evaluated.
    std::vector<std::vector<std::unique_ptr<ExpressionTree>>> trees(documents.size());
    std::size_t selectedCount = 0;
    for (std::size_t d = 0; d < documents.size(); ++d) {
        const Document& document = documents[d];
        for (std::size_t r = 0; r < document.rules.size(); ++r) {
            const Rule& rule = document.rules[r];
            selectedCount += selected[d][r] ? 1 : 0;
            BuildError buildError;
            trees[d].push_back(ExpressionTree::build(m_Module, rule.tree, rule.path, buildError));
            if (trees[d].back())
                continue;
            if (buildError.isInputError()) {
                m_Err << "corehost: " << escapeText(document.source) << ": "
                      << describePath(buildError.path) << ": " << buildError.describe() << '\n';
                return kExitUsage;
            }
            m_Err << "corehost: " << ruleLabel(document, rule, several) << buildError.describe()
                  << " at " << describePath(buildError.path);
            if (buildError.code != 0)
                m_Err << ": " << describeCode(buildError.code);
            m_Err << '\n';
            return kExitExpressionFailed;
        }
    }

    std::unique_ptr<Reporter> reporter = makeReporter(options.format, m_Out, several);
    reporter->begin(selectedCount);
    std::size_t counts[4] = {0, 0, 0, 0}; // by RuleStatus
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
            long long median = 0;
            const Clock::time_point start = Clock::now();
            report.code = evaluateRepeatedly(tree, options.repeat, options.explain, median);
            report.seconds = secondsSince(start);
            if (report.code != 0) {
                report.failure = describeFailure(tree, report.code);
                m_Err << "corehost: " << ruleLabel(document, rule, several) << report.failure
                      << '\n';
            } else {
                report.result = resultTexts(tree);
            }
            if (options.explain)
                report.explanation = explain(tree);
            report.status = statusOf(rule, report);
            ++counts[static_cast<int>(report.status)];
            anyExpectation = anyExpectation || rule.expect;
            reporter->rule(report);
            // Each rule's report reaches standard output before the next rule's
            // messages reach standard error; a failed write ends the run.
            if (!m_Out.flush())
                return kExitUsage;
            if (options.timed)
                m_Err << "corehost: " << ruleLabel(document, rule, several) << "median " << median
                      << " ns per evaluation over " << options.repeat << " evaluations\n";
        }
        reporter->endDocument();
    }
    reporter->end();
    if (!m_Out.flush())
        return kExitUsage;

    const std::size_t passed = counts[static_cast<int>(RuleStatus::Pass)];
    const std::size_t failed = counts[static_cast<int>(RuleStatus::Fail)];
    const std::size_t errors = counts[static_cast<int>(RuleStatus::Error)];
    if (anyExpectation || several) {
        char time[32];
        std::snprintf(time, sizeof time, "%.3f", secondsSince(started));
        m_Err << "corehost: passed " << passed << ", failed " << failed << ", errors " << errors
              << ", without expectation " << counts[static_cast<int>(RuleStatus::None)] << "; "
              << selectedCount << (selectedCount == 1 ? " rule" : " rules") << " in " << time
              << " s\n";
    }
    return failed + errors == 0 ? kExitSuccess : kExitExpressionFailed;
}

} // namespace corehost
