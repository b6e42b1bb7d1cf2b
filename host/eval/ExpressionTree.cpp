// Building an expression tree through the plug-in and evaluating it bottom-up:
// children in order, each result fed through the update that matches its kind,
// feeding stopped once the operator is ready, failed children handed to
// updateWithError only when the operator asks for them.
#include "eval/ExpressionTree.h"

#include "eval/MessageText.h"
#include "eval/NameSuggestion.h"
#include "eval/PluginCall.h"
#include "eval/TextConversion.h"

#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/VectorOperator.h"

#include <utility>

namespace corehost {

namespace {

std::string appendChild(std::string path, std::size_t child) {
    if (!path.empty())
        path += '.';
    path += "children[" + std::to_string(child) + "]";
    return path;
}

} // namespace

std::string BuildError::describe() const {
    const std::string quoted = quote(name);
    switch (kind) {
    case Kind::UnknownName:
        return "unknown expression name " + quoted + didYouMean(suggestion);
    case Kind::TooDeep:
        return "the tree is nested deeper than " + std::to_string(ExpressionTree::kMaxDepth) +
               " levels";
    case Kind::ChildrenUnderOperand:
        return "the operand " + quoted + " cannot have children";
    case Kind::UnknownType:
        return "the plug-in's " + quoted + " reports an unknown kind of result";
    case Kind::PropertyNotSet:
        return "the plug-in could not set the property " + quote(property) + " of " + quoted;
    case Kind::NotCreated:
        break;
    }
    return "the plug-in could not create " + quoted;
}

ExpressionTree::ExpressionTree(std::shared_ptr<PluginSet> plugins, std::string rootPath)
    : m_Plugins(std::move(plugins)), m_RootPath(std::move(rootPath)) {}

ExpressionTree::~ExpressionTree() {
    for (auto it = m_Nodes.rbegin(); it != m_Nodes.rend(); ++it)
        if (it->expression) {
            PluginCall call(*it->module);
            it->module->plugin().destroyExpression(it->expression);
        }
}

std::unique_ptr<ExpressionTree> ExpressionTree::build(std::shared_ptr<PluginSet> plugins,
                                                      const NodeSpec& root, std::string rootPath,
                                                      BuildError& error) {
    std::unique_ptr<ExpressionTree> tree(
        new ExpressionTree(std::move(plugins), std::move(rootPath)));
    std::vector<std::size_t> trail;
    std::size_t depth = 0;
    // Names and depth are checked, and the nodes laid out in pre-order, before
    // anything is created.
    if (!tree->checkNames(root, trail, depth, error))
        return nullptr;
    tree->m_Scalars.resize(depth + 1);
    tree->m_Vectors.resize(depth + 1);
    std::size_t next = 0;
    if (!tree->create(root, trail, next, error))
        return nullptr; // the partial tree destroys what it created
    return tree;
}

bool ExpressionTree::checkNames(const NodeSpec& spec, std::vector<std::size_t>& trail,
                                std::size_t& depth, BuildError& error) {
    if (trail.size() >= kMaxDepth) {
        error = BuildError{BuildError::Kind::TooDeep, trailPath(trail), spec.name, 0};
        return false;
    }
    const std::wstring* name = nullptr;
    PluginModule* module = m_Plugins->owner(spec.name, &name);
    if (!module) {
        error = BuildError{BuildError::Kind::UnknownName, trailPath(trail), spec.name, 0};
        std::vector<std::string> names;
        for (const std::wstring& registered : m_Plugins->names())
            names.push_back(toUtf8(registered));
        error.suggestion = suggestName(toUtf8(spec.name), names);
        return false;
    }
    const std::size_t index = m_Nodes.size();
    m_Nodes.emplace_back();
    m_Nodes[index].name = name;
    m_Nodes[index].module = module;
    m_Nodes[index].childCount = static_cast<std::uint32_t>(spec.children.size());
    if (trail.size() > depth)
        depth = trail.size();
    for (std::size_t i = 0; i < spec.children.size(); ++i) {
        trail.push_back(i);
        if (!checkNames(spec.children[i], trail, depth, error))
            return false;
        trail.pop_back();
    }
    m_Nodes[index].subtreeSize = static_cast<std::uint32_t>(m_Nodes.size() - index);
    return true;
}

bool ExpressionTree::create(const NodeSpec& spec, std::vector<std::size_t>& trail,
                            std::size_t& next, BuildError& error) {
    // The node was laid out by checkNames at this pre-order position.
    Node& node = m_Nodes[next++];
    PluginSDK::Expression* expression = nullptr;
    PluginCall call(*node.module); // properties are set inside it too
    TErrorCode code = node.module->plugin().createExpression(node.name->c_str(), &expression);
    if (code != 0 || !expression) {
        // A plug-in that answers 0 without an object is reported with code 0.
        error = BuildError{BuildError::Kind::NotCreated, trailPath(trail), spec.name, code};
        error.module = node.module;
        return false;
    }
    node.expression = expression;
    node.type = expression->getType();
    node.isOperator = expression->isOperator();
    for (const auto& property : spec.properties) {
        const TErrorCode set =
            expression->setProperty(property.first.c_str(), property.second.c_str());
        if (set != 0) {
            error = BuildError{BuildError::Kind::PropertyNotSet, trailPath(trail), spec.name, set};
            error.property = toUtf8(property.first);
            error.module = node.module;
            return false;
        }
    }
    if (node.type != PluginSDK::SCALAR_EXPRESSION && node.type != PluginSDK::VECTOR_EXPRESSION) {
        error = BuildError{BuildError::Kind::UnknownType, trailPath(trail), spec.name, 0};
        return false;
    }
    if (!node.isOperator && !spec.children.empty()) {
        error = BuildError{BuildError::Kind::ChildrenUnderOperand, trailPath(trail), spec.name, 0};
        return false;
    }
    for (std::size_t i = 0; i < spec.children.size(); ++i) {
        trail.push_back(i);
        if (!create(spec.children[i], trail, next, error))
            return false;
        trail.pop_back();
    }
    return true;
}

std::string ExpressionTree::trailPath(const std::vector<std::size_t>& trail) const {
    std::string path = m_RootPath;
    for (std::size_t child : trail)
        path = appendChild(std::move(path), child);
    return path;
}

std::string ExpressionTree::nodePath(std::size_t node) const {
    std::vector<std::size_t> trail;
    std::size_t current = 0;
    while (current != node) {
        std::size_t child = current + 1;
        std::size_t position = 0;
        while (node >= child + m_Nodes[child].subtreeSize) {
            child += m_Nodes[child].subtreeSize;
            ++position;
        }
        trail.push_back(position);
        current = child;
    }
    return trailPath(trail);
}

std::string ExpressionTree::childPath(std::size_t node, std::size_t child) const {
    return appendChild(nodePath(node), child);
}

TErrorCode ExpressionTree::evaluate() {
    if (m_Evaluated)
        for (Node& node : m_Nodes) {
            PluginCall call(*node.module);
            node.expression->disposeExpression();
        }
    m_Evaluated = true;
    m_ErrorRecords.clear();
    if (m_Recording)
        m_Outcomes.assign(m_Nodes.size(), NodeOutcome());
    return evaluateNode(0, 0);
}

TErrorCode ExpressionTree::evaluateNode(std::size_t index, std::size_t depth) {
    const Node& node = m_Nodes[index];
    if (node.isOperator) {
        std::size_t child = index + 1;
        for (std::size_t position = 0; position < node.childCount; ++position) {
            const Node& childNode = m_Nodes[child];
            const TErrorCode childCode = evaluateNode(child, depth + 1);
            if (childCode == 0) {
                const TErrorCode code = feed(index, childNode, depth + 1);
                if (code != 0)
                    return fail(index, EvaluationFailure::Stage::Update, position, code);
            } else if (continueOnError(index)) {
                const TErrorCode code = feedError(index, childCode);
                if (code != 0)
                    return fail(index, EvaluationFailure::Stage::UpdateWithError, position, code);
            } else {
                // The parent fails with its child's code; the failure stays
                // recorded where it happened.
                if (m_Recording)
                    note(index, NodeOutcome::State::ChildFailed, childCode, position);
                return childCode;
            }
            PluginCall call(*node.module, this, index);
            if (node.expression->isReady()) {
                // The result can no longer change: the rest is skipped.
                if (m_Recording)
                    for (std::size_t skipped = child + childNode.subtreeSize;
                         skipped < index + node.subtreeSize; ++skipped)
                        m_Outcomes[skipped].state = NodeOutcome::State::Skipped;
                break;
            }
            child += childNode.subtreeSize;
        }
    }
    const TErrorCode code = readResult(index, depth);
    if (code != 0)
        return fail(index, EvaluationFailure::Stage::Result, 0, code);
    if (m_Recording)
        noteResult(index, depth);
    return 0;
}

TErrorCode ExpressionTree::feed(std::size_t index, const Node& child, std::size_t childDepth) {
    const Node& op = m_Nodes[index];
    const bool scalarChild = child.type == PluginSDK::SCALAR_EXPRESSION;
    PluginCall call(*op.module, this, index);
    if (op.type == PluginSDK::SCALAR_EXPRESSION) {
        auto& target = static_cast<PluginSDK::ScalarOperator&>(*op.expression);
        return scalarChild ? target.update(m_Scalars[childDepth])
                           : target.update(m_Vectors[childDepth]);
    }
    auto& target = static_cast<PluginSDK::VectorOperator&>(*op.expression);
    return scalarChild ? target.update(m_Scalars[childDepth])
                       : target.update(m_Vectors[childDepth]);
}

TErrorCode ExpressionTree::feedError(std::size_t index, TErrorCode code) {
    const Node& op = m_Nodes[index];
    PluginCall call(*op.module, this, index);
    if (op.type == PluginSDK::SCALAR_EXPRESSION)
        return static_cast<PluginSDK::ScalarOperator&>(*op.expression).updateWithError(code);
    return static_cast<PluginSDK::VectorOperator&>(*op.expression).updateWithError(code);
}

bool ExpressionTree::continueOnError(std::size_t index) {
    const Node& op = m_Nodes[index];
    PluginCall call(*op.module, this, index);
    if (op.type == PluginSDK::SCALAR_EXPRESSION)
        return static_cast<const PluginSDK::ScalarOperator&>(*op.expression).continueOnError();
    return static_cast<const PluginSDK::VectorOperator&>(*op.expression).continueOnError();
}

TErrorCode ExpressionTree::readResult(std::size_t index, std::size_t depth) {
    const Node& node = m_Nodes[index];
    PluginCall call(*node.module, this, index);
    if (node.type == PluginSDK::SCALAR_EXPRESSION) {
        PluginSDK::String& out = m_Scalars[depth];
        out.str().clear(); // keeps the buffer for the next evaluation
        return static_cast<PluginSDK::ScalarExpression&>(*node.expression).getScalarResult(out);
    }
    // Some vector expressions append to the list they are given: hand over an
    // empty one.
    PluginSDK::StringVector& out = m_Vectors[depth];
    out.removeAll();
    return static_cast<PluginSDK::VectorExpression&>(*node.expression).getVectorResult(out);
}

TErrorCode ExpressionTree::fail(std::size_t node, EvaluationFailure::Stage stage, std::size_t child,
                                TErrorCode code) {
    m_Failure = EvaluationFailure{node, stage, child};
    if (m_Recording) {
        static constexpr NodeOutcome::State kStates[] = {NodeOutcome::State::Failed,
                                                         NodeOutcome::State::Refused,
                                                         NodeOutcome::State::FailedOnError};
        note(node, kStates[static_cast<int>(stage)], code, child);
    }
    return code;
}

std::string ExpressionTree::failureReason() const {
    for (const auto& record : m_ErrorRecords)
        if (record.first == m_Failure.node)
            return record.second;
    return std::string();
}

void ExpressionTree::noteErrorRecord(const std::string& message) noexcept {
    ExpressionTree* tree = PluginCall::currentTree();
    if (!tree)
        return;
    const std::size_t node = PluginCall::currentNode();
    // Called from inside the plug-in: nothing may be thrown back into it. A
    // record that cannot be kept for want of memory is left out.
    try {
        for (auto& record : tree->m_ErrorRecords)
            if (record.first == node) {
                record.second = message;
                return;
            }
        tree->m_ErrorRecords.emplace_back(node, message);
    } catch (...) {
    }
}

void ExpressionTree::note(std::size_t node, NodeOutcome::State state, TErrorCode code,
                          std::size_t child) {
    NodeOutcome& outcome = m_Outcomes[node];
    outcome.state = state;
    outcome.code = code;
    outcome.child = child;
}

void ExpressionTree::noteResult(std::size_t node, std::size_t depth) {
    NodeOutcome& outcome = m_Outcomes[node];
    outcome.state = NodeOutcome::State::Succeeded;
    outcome.values.clear();
    if (m_Nodes[node].type == PluginSDK::SCALAR_EXPRESSION) {
        outcome.values.push_back(m_Scalars[depth].str());
        return;
    }
    for (const PluginSDK::String& item : m_Vectors[depth].items())
        outcome.values.push_back(item.str());
}

} // namespace corehost
