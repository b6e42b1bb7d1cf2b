// Explaining an evaluated tree from its recorded node outcomes.
#include "cli/Explanation.h"

#include "cli/Report.h"
#include "eval/MessageText.h"
#include "eval/TextConversion.h"

namespace corehost {

namespace {

std::string child(std::size_t position) {
    return "children[" + std::to_string(position) + "]";
}

std::string describe(const ExpressionTree& tree, std::size_t node) {
    const NodeOutcome& outcome = tree.outcome(node);
    const PluginModule* plugin = &tree.nodeModule(node);
    switch (outcome.state) {
    case NodeOutcome::State::Succeeded: {
        std::vector<std::string> texts;
        for (const std::wstring& value : outcome.values)
            texts.push_back(toUtf8(value));
        if (tree.nodeType(node) == PluginSDK::VECTOR_EXPRESSION)
            return "= " + quoteList(texts);
        return "= " + quoteText(texts.empty() ? std::string() : texts.front());
    }
    case NodeOutcome::State::Failed:
        return "failed with " + describeCode(outcome.code, plugin);
    case NodeOutcome::State::Refused:
        return "refused the result of " + child(outcome.child) + " with " +
               describeCode(outcome.code, plugin);
    case NodeOutcome::State::FailedOnError:
        return "failed on the failure of " + child(outcome.child) + " with " +
               describeCode(outcome.code, plugin);
    case NodeOutcome::State::ChildFailed:
        return "not evaluated: " + child(outcome.child) + " failed";
    case NodeOutcome::State::Skipped:
        return "skipped (short circuit)";
    case NodeOutcome::State::NotReached:
        break;
    }
    return "not evaluated";
}

// Appends the lines of `node`'s subtree; returns the node after it.
std::size_t explainNode(const ExpressionTree& tree, std::size_t node, std::size_t depth,
                        std::vector<std::string>& lines) {
    lines.push_back(std::string(2 * depth, ' ') + escapeText(toUtf8(tree.nodeName(node))) + ' ' +
                    describe(tree, node));
    std::size_t next = node + 1;
    for (std::size_t i = 0; i < tree.childCount(node); ++i)
        next = explainNode(tree, next, depth + 1, lines);
    return next;
}

} // namespace

std::vector<std::string> explain(const ExpressionTree& tree) {
    std::vector<std::string> lines;
    explainNode(tree, 0, 0, lines);
    return lines;
}

std::vector<std::string> explainWithCondition(const ExpressionTree& condition,
                                              const ExpressionTree* tree,
                                              const std::string& whyNotEvaluated) {
    std::vector<std::string> lines{"onlyIf:"};
    explainNode(condition, 0, 1, lines);
    if (!tree) {
        lines.push_back("tree not evaluated: " + whyNotEvaluated);
        return lines;
    }
    lines.push_back("tree:");
    explainNode(*tree, 0, 1, lines);
    return lines;
}

} // namespace corehost
