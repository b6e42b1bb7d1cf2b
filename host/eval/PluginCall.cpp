// The module (and tree node) called on each thread, restored when a call ends.
#include "eval/PluginCall.h"

namespace corehost {

namespace {

thread_local PluginModule* t_Current = nullptr;
thread_local ExpressionTree* t_Tree = nullptr;
thread_local std::size_t t_Node = 0;

} // namespace

PluginCall::PluginCall(PluginModule& module, ExpressionTree* tree, std::size_t node)
    : m_Previous(t_Current), m_PreviousTree(t_Tree), m_PreviousNode(t_Node) {
    t_Current = &module;
    t_Tree = tree;
    t_Node = node;
}

PluginCall::~PluginCall() {
    t_Current = m_Previous;
    t_Tree = m_PreviousTree;
    t_Node = m_PreviousNode;
}

PluginModule* PluginCall::current() {
    return t_Current;
}

ExpressionTree* PluginCall::currentTree() {
    return t_Tree;
}

std::size_t PluginCall::currentNode() {
    return t_Node;
}

} // namespace corehost
