// An expression tree built once through a plug-in and evaluated any number of
// times, bottom-up, the way the host drives the evaluation protocol.
#pragma once

#include "eval/NodeSpec.h"
#include "eval/PluginSet.h"

#include "PluginSDK/String.h"
#include "PluginSDK/StringVector.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace corehost {

// Why a tree could not be built. The first three kinds are faults of the
// description; the others are the plug-in or its SDK failing the host.
struct BuildError {
    enum class Kind {
        UnknownName,          // not a name the plug-in registered
        TooDeep,              // nested deeper than ExpressionTree::kMaxDepth
        ChildrenUnderOperand, // an operand given children
        UnknownType,          // the object reports a kind code other than 0 or 1
        NotCreated,           // createExpression failed with `code`
        PropertyNotSet,       // setProperty of `property` failed with `code` (-103: no memory)
    };
    Kind kind = Kind::UnknownName;
    std::string path; // where in the description, e.g. "children[0].children[2]"
    std::wstring name;
    TErrorCode code = 0;
    std::string suggestion{}; // UnknownName: a registered name close to `name` (UTF-8), if any
    std::string property{};   // PropertyNotSet: the property's name (UTF-8)
    const PluginModule* module = nullptr; // NotCreated, PropertyNotSet: the node's plug-in

    bool isInputError() const {
        return kind == Kind::UnknownName || kind == Kind::TooDeep ||
               kind == Kind::ChildrenUnderOperand;
    }
    // What went wrong, without the place (UTF-8).
    std::string describe() const;
};

// Where an evaluation failed.
struct EvaluationFailure {
    enum class Stage {
        Result,          // the node's getScalarResult or getVectorResult returned the code
        Update,          // the node refused the result of its child `child`
        UpdateWithError, // the node, told that child `child` failed, returned the code
    };
    std::size_t node = 0;
    Stage stage = Stage::Result;
    std::size_t child = 0; // position among the node's children (update stages)
};

// What one node did during the last evaluation, recorded only when asked
// (ExpressionTree::recordOutcomes), for explaining a result.
struct NodeOutcome {
    enum class State : std::uint8_t {
        NotReached,    // the evaluation stopped before reaching the node
        Skipped,       // an operator above it became ready before this child
        Succeeded,     // `values` holds the result (one text for a scalar)
        Failed,        // reading the node's result returned `code`
        Refused,       // the operator refused the result of child `child` with `code`
        FailedOnError, // told that child `child` failed, the operator returned `code`
        ChildFailed,   // child `child` failed with `code`, which fails this operator too
    };
    State state = State::NotReached;
    TErrorCode code = 0;
    std::size_t child = 0;
    std::vector<std::wstring> values;
};

class ExpressionTree {
public:
    static constexpr std::size_t kMaxDepth = 256;

    // Creates every node of `root` through the plug-in that registered its
    // name (one tree may mix the plug-ins of the set) and attaches
    // its properties. `rootPath` prefixes the places named in errors. On
    // failure returns null, fills `error`, and every node created so far has
    // been destroyed again. A property that cannot be attached fails the
    // build: a tree never runs without one of its properties.
    static std::unique_ptr<ExpressionTree> build(std::shared_ptr<PluginSet> plugins,
                                                 const NodeSpec& root, std::string rootPath,
                                                 BuildError& error);
    // The same with the plug-in of a single module.
    static std::unique_ptr<ExpressionTree> build(std::shared_ptr<PluginModule> module,
                                                 const NodeSpec& root, std::string rootPath,
                                                 BuildError& error) {
        return build(PluginSet::of(std::move(module)), root, std::move(rootPath), error);
    }

    // Destroys every node (children before their parents) before the modules
    // may go.
    ~ExpressionTree();
    ExpressionTree(const ExpressionTree&) = delete;
    ExpressionTree& operator=(const ExpressionTree&) = delete;

    // Evaluates the tree; 0 or the failure code. Before every evaluation but
    // the first, every node is disposed.
    TErrorCode evaluate();

    // The kind code of the root's result.
    PluginSDK::ExpressionType type() const { return m_Nodes.front().type; }
    // The root's result after a successful evaluation of its kind.
    const PluginSDK::String& scalarResult() const { return m_Scalars.front(); }
    const PluginSDK::StringVector& vectorResult() const { return m_Vectors.front(); }
    // Valid after evaluate() returned a failure.
    const EvaluationFailure& failure() const { return m_Failure; }
    // The last error record the plug-in wrote for the failed node while the
    // last evaluation called it (such as "/etc/shadow: Permission denied"),
    // or empty. Records reach the tree through noteErrorRecord.
    std::string failureReason() const;

    // Keeps `message`, an error record a plug-in wrote, for the node the
    // host is calling on this thread (PluginCall); nothing outside an
    // evaluation. A trace sink calls it for every error record.
    static void noteErrorRecord(const std::string& message) noexcept;

    // Records what every node does in the following evaluations (off by
    // default: recording copies every result).
    void recordOutcomes(bool on) { m_Recording = on; }
    // The node's outcome in the last evaluation made while recording.
    const NodeOutcome& outcome(std::size_t node) const { return m_Outcomes[node]; }

    // Nodes are numbered in pre-order: the root is 0; a node's children follow
    // it, each after the whole subtree of the previous one.
    std::size_t size() const { return m_Nodes.size(); }
    std::size_t childCount(std::size_t node) const { return m_Nodes[node].childCount; }
    PluginSDK::ExpressionType nodeType(std::size_t node) const { return m_Nodes[node].type; }
    const std::wstring& nodeName(std::size_t node) const { return *m_Nodes[node].name; }
    // The place of a node, e.g. "rules[1].tree.children[0]".
    std::string nodePath(std::size_t node) const;
    // The place of the `child`-th child of a node.
    std::string childPath(std::size_t node, std::size_t child) const;
    PluginSDK::Expression& expression(std::size_t node) { return *m_Nodes[node].expression; }
    // The module whose plug-in made the node.
    PluginModule& nodeModule(std::size_t node) const { return *m_Nodes[node].module; }

private:
    struct Node {
        PluginSDK::Expression* expression = nullptr;
        const std::wstring* name = nullptr;
        PluginModule* module = nullptr; // the plug-in that registered the name
        std::uint32_t subtreeSize = 1;  // this node and all its descendants
        std::uint32_t childCount = 0;
        PluginSDK::ExpressionType type = PluginSDK::SCALAR_EXPRESSION;
        bool isOperator = false;
    };

    explicit ExpressionTree(std::shared_ptr<PluginSet> plugins, std::string rootPath);

    // Looks every name up once and lays the nodes out in pre-order, not yet created.
    bool checkNames(const NodeSpec& spec, std::vector<std::size_t>& trail, std::size_t& depth,
                    BuildError& error);
    // Creates the node at pre-order position `next` and its subtree.
    bool create(const NodeSpec& spec, std::vector<std::size_t>& trail, std::size_t& next,
                BuildError& error);
    std::string trailPath(const std::vector<std::size_t>& trail) const;

    TErrorCode evaluateNode(std::size_t index, std::size_t depth);
    TErrorCode feed(std::size_t op, const Node& child, std::size_t childDepth);
    TErrorCode feedError(std::size_t op, TErrorCode code);
    bool continueOnError(std::size_t op);
    TErrorCode readResult(std::size_t index, std::size_t depth);
    TErrorCode fail(std::size_t node, EvaluationFailure::Stage stage, std::size_t child,
                    TErrorCode code);
    void note(std::size_t node, NodeOutcome::State state, TErrorCode code, std::size_t child);
    void noteResult(std::size_t node, std::size_t depth);

    std::shared_ptr<PluginSet> m_Plugins; // first member: released after the nodes
    std::string m_RootPath;
    std::vector<Node> m_Nodes;
    // Result buffers, one per depth: a child's result lives at its depth until
    // it is fed to its parent, and the buffers are reused by every evaluation.
    std::vector<PluginSDK::String> m_Scalars;
    std::vector<PluginSDK::StringVector> m_Vectors;
    EvaluationFailure m_Failure;
    bool m_Evaluated = false;
    bool m_Recording = false;
    std::vector<NodeOutcome> m_Outcomes; // one per node while recording
    // The last error record of each node that wrote one in the last
    // evaluation: at most one entry per node.
    std::vector<std::pair<std::size_t, std::string>> m_ErrorRecords;
};

} // namespace corehost
