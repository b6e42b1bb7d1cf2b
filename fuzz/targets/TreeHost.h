// The real plug-in as the tree fuzz targets drive it: the module loaded once
// through the reference host, which names are operators, and the checks that
// hold for any tree evaluated through it.
#pragma once

#include "eval/ExpressionTree.h"
#include "eval/NodeSpec.h"
#include "eval/PluginModule.h"

#include <memory>
#include <string>
#include <vector>

namespace fuzzing {

class TreeHost {
public:
    // The process-wide instance; loads the plug-in module on first use (the
    // path comes from the build, or from COREPLUGIN_MODULE in the environment).
    static TreeHost& instance();

    const std::vector<std::wstring>& names() const { return m_Module->names(); }
    PluginSDK::Plugin& plugin() { return m_Module->plugin(); }
    bool isOperator(const std::wstring& name) const;

    // Builds the tree and evaluates it twice (the second time after the
    // host's dispose); traps when a build of registered names fails for any
    // other reason than the description, when a code is not one of the
    // plug-in's table, when the two evaluations disagree, or when a result
    // breaks the form its expression promises.
    void run(const corehost::NodeSpec& root);

    // The paths the file probes may be given: existing read-only ones, a
    // missing one, and hostile ones that a probe must neither wait on nor
    // read whole: /proc/self/pagemap and /dev/zero (they never end), and a
    // FIFO, a 2 GiB sparse file and a directory, made once in a temporary
    // directory that is removed at exit. Nothing else is read or written.
    static const std::vector<std::wstring>& probePaths();
    // Replaces every path property ("absolutePath", "file") that is not one of
    // probePaths() by the missing path.
    static void confinePaths(corehost::NodeSpec& node);

private:
    TreeHost();

    std::shared_ptr<corehost::PluginModule> m_Module;
    std::vector<std::wstring> m_Operators;
};

} // namespace fuzzing
