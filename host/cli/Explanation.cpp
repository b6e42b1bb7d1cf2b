// Explaining an evaluated tree from its recorded node outcomes.
#include "cli/Explanation.h"

#include "cli/FoundValue.h"
#include "cli/Report.h"
#include "eval/MessageText.h"
#include "eval/TextConversion.h"

namespace corehost {

namespace {

// A list longer than this shows its first values and how many more it has: a
// node may give hundreds of thousands (every packaged file), which tell the
// reader nothing that the count does not.
constexpr std::size_t kMostListed = 20;

std::string child(std::size_t position) {
    return "children[" + std::to_string(position) + "]";
}

std::string describe(const ExpressionTree& tree, std::size_t node) {
    const NodeOutcome& outcome = tree.outcome(node);
    const PluginModule* plugin = &tree.nodeModule(node);
    switch (outcome.state) {
    case NodeOutcome::State::Succeeded: {
        std::vector<std::string> texts;
        for (const std::wstring& value : outcome.values) {
            if (texts.size() == kMostListed)
                break;
            texts.push_back(toUtf8(value));
        }
        if (tree.nodeType(node) == PluginSDK::VECTOR_EXPRESSION) {
            const std::size_t more = outcome.values.size() - texts.size();
            return "= " + quoteList(texts) +
                   (more == 0 ? std::string() : " and " + std::to_string(more) + " more");
        }
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

// For an operator over condition/value pairs that gave a result: the pair
// whose condition was the first "true", or that none was.
std::string pairTaken(const ExpressionTree& tree, std::size_t node) {
    const PluginDescription* description = tree.nodeModule(node).description();
    const ExpressionDescription* row =
        description ? description->findExpression(toUtf8(tree.nodeName(node))) : nullptr;
    if (!row || !row->pairs || tree.outcome(node).state != NodeOutcome::State::Succeeded)
        return std::string();
    std::size_t at = node + 1;
    for (std::size_t i = 0; i < tree.childCount(node); ++i) {
        const NodeOutcome& outcome = tree.outcome(at);
        if (i % 2 == 0 && i + 1 < tree.childCount(node) &&
            outcome.state == NodeOutcome::State::Succeeded && outcome.values.size() == 1 &&
            outcome.values.front() == L"true")
            return ", took " + child(i) + " and " + child(i + 1);
        // The next child follows this one's subtree.
        for (std::size_t pending = 1; pending > 0; ++at)
            pending += tree.childCount(at) - 1;
    }
    return ", no condition was \"true\"";
}

// Appends the lines of `node`'s subtree; returns the node after it.
std::size_t explainNode(const ExpressionTree& tree, const std::vector<const NodeSpec*>& specs,
                        std::size_t node, std::size_t depth, std::vector<std::string>& lines) {
    std::string line = std::string(2 * depth, ' ') + escapeText(toUtf8(tree.nodeName(node)));
    if (node < specs.size()) {
        const std::string properties = describeProperties(tree, node, *specs[node]);
        if (!properties.empty())
            line += " (" + properties + ")";
    }
    lines.push_back(line + ' ' + describe(tree, node) + pairTaken(tree, node));
    std::size_t next = node + 1;
    for (std::size_t i = 0; i < tree.childCount(node); ++i)
        next = explainNode(tree, specs, next, depth + 1, lines);
    return next;
}

} // namespace

std::vector<std::string> explain(const ExpressionTree& tree, const NodeSpec& root) {
    std::vector<std::string> lines;
    explainNode(tree, preorder(root), 0, 0, lines);
    return lines;
}

std::vector<std::string> explainWithCondition(const ExpressionTree& condition,
                                              const NodeSpec& conditionRoot,
                                              const ExpressionTree* tree, const NodeSpec& root,
                                              const std::string& whyNotEvaluated) {
    std::vector<std::string> lines{"onlyIf:"};
    explainNode(condition, preorder(conditionRoot), 0, 1, lines);
    if (!tree) {
        lines.push_back("tree not evaluated: " + whyNotEvaluated);
        return lines;
    }
    lines.push_back("tree:");
    explainNode(*tree, preorder(root), 0, 1, lines);
    return lines;
}

} // namespace corehost
