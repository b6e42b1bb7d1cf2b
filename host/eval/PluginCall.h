// Which plug-in the host is calling on this thread, and for which node of
// which tree: a plug-in's trace records arrive while it runs, and the host
// tells them apart by the call.
#pragma once

#include <cstddef>

namespace corehost {

class ExpressionTree;
class PluginModule;

class PluginCall {
public:
    // Marks `module` as called on this thread until the end of the scope; with
    // a tree, on behalf of its node `node`.
    explicit PluginCall(PluginModule& module, ExpressionTree* tree = nullptr, std::size_t node = 0);
    ~PluginCall();
    PluginCall(const PluginCall&) = delete;
    PluginCall& operator=(const PluginCall&) = delete;

    // The module being called on this thread, or null.
    static PluginModule* current();
    // The tree whose node is being evaluated on this thread, or null, and
    // that node.
    static ExpressionTree* currentTree();
    static std::size_t currentNode();

private:
    PluginModule* m_Previous;
    ExpressionTree* m_PreviousTree;
    std::size_t m_PreviousNode;
};

} // namespace corehost
