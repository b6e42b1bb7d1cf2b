// Evaluation of a document: nothing is evaluated unless every tree was built.
#include "cli/EvalCommand.h"

#include "ResultCodes.h"
#include "eval/DocumentReader.h"
#include "cli/ResultPrinter.h"
#include "eval/ExpressionTree.h"
#include "eval/MessageText.h"
#include "eval/TextConversion.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace corehost {

namespace {

std::string describeCode(TErrorCode code) {
    return std::to_string(code) + " (" + CorePlugin::describeResultCode(code) + ")";
}

// "rule "id": " for a rule of a rules document, nothing for a single tree.
std::string ruleLabel(const Document& document, const Rule& rule) {
    return document.isRuleList ? "rule " + quote(rule.id) + ": " : std::string();
}

std::string describeFailure(const ExpressionTree& tree, TErrorCode code) {
    const EvaluationFailure& failure = tree.failure();
    std::string text =
        toUtf8(tree.nodeName(failure.node)) + " at " + describePath(tree.nodePath(failure.node));
    switch (failure.stage) {
    case EvaluationFailure::Stage::Result:
        return text + " failed with " + describeCode(code);
    case EvaluationFailure::Stage::Update:
        return text + " refused the result of " + tree.childPath(failure.node, failure.child) +
               " with " + describeCode(code);
    case EvaluationFailure::Stage::UpdateWithError:
        return text + " failed on the failure of " + tree.childPath(failure.node, failure.child) +
               " with " + describeCode(code);
    }
    return text;
}

// Evaluates `tree` `repeat` times and returns the last code; the median time
// of one evaluation goes to `medianNanoseconds`.
TErrorCode evaluateRepeatedly(ExpressionTree& tree, unsigned repeat, long long& medianNanoseconds) {
    using Clock = std::chrono::steady_clock;
    std::vector<long long> times;
    times.reserve(repeat);
    TErrorCode code = 0;
    for (unsigned i = 0; i < repeat; ++i) {
        const Clock::time_point start = Clock::now();
        code = tree.evaluate();
        times.push_back(
            std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count());
    }
    const auto middle = times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2);
    std::nth_element(times.begin(), middle, times.end());
    medianNanoseconds = *middle;
    return code;
}

} // namespace

int EvalCommand::run(const EvalOptions& options) {
    std::string text;
    std::string source = options.hasInline     ? "<inline>"
                         : options.file == "-" ? "<stdin>"
                                               : options.file;
    if (options.hasInline) {
        text = options.inlineText;
    } else {
        std::string reason;
        if (!DocumentReader::readSource(options.file, text, reason)) {
            m_Err << "corehost: cannot read " << source << ": " << reason << '\n';
            return kExitUsage;
        }
    }

    Document document;
    InputError inputError;
    if (!DocumentReader::parse(text, document, inputError)) {
        m_Err << "corehost: " << source << ": " << describePath(inputError.path) << ": "
              << inputError.message << '\n';
        return kExitUsage;
    }

    // Every tree is built before anything is evaluated.
    std::vector<std::unique_ptr<ExpressionTree>> trees;
    trees.reserve(document.rules.size());
    for (const Rule& rule : document.rules) {
        BuildError buildError;
        trees.push_back(ExpressionTree::build(m_Module, rule.tree, rule.path, buildError));
        if (trees.back())
            continue;
        if (buildError.isInputError()) {
            m_Err << "corehost: " << source << ": " << describePath(buildError.path) << ": "
                  << buildError.describe() << '\n';
            return kExitUsage;
        }
        m_Err << "corehost: " << ruleLabel(document, rule) << buildError.describe() << " at "
              << describePath(buildError.path);
        if (buildError.code != 0)
            m_Err << ": " << describeCode(buildError.code);
        m_Err << '\n';
        return kExitExpressionFailed;
    }

    ResultPrinter printer(m_Out, options.json, document.isRuleList);
    int exitCode = kExitSuccess;
    for (std::size_t i = 0; i < trees.size(); ++i) {
        const Rule& rule = document.rules[i];
        ExpressionTree& tree = *trees[i];
        long long median = 0;
        const TErrorCode code = evaluateRepeatedly(tree, options.repeat, median);
        if (code != 0) {
            exitCode = kExitExpressionFailed;
            m_Err << "corehost: " << ruleLabel(document, rule) << describeFailure(tree, code)
                  << '\n';
        }
        printer.print(rule, tree, code);
        if (options.timed)
            m_Err << "corehost: " << ruleLabel(document, rule) << "median " << median
                  << " ns per evaluation over " << options.repeat << " evaluations\n";
    }
    return exitCode;
}

} // namespace corehost
