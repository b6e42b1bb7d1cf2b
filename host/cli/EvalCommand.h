// corehost eval: reads a document, builds every tree, evaluates the rules in
// order and prints their results.
#pragma once

#include "eval/PluginModule.h"

#include <memory>
#include <ostream>
#include <string>

namespace corehost {

struct EvalOptions {
    std::string file;       // a path, or "-" for standard input
    std::string inlineText; // the document itself (-e), used when `hasInline`
    bool hasInline = false;
    bool json = false;
    unsigned repeat = 1;
    bool timed = false; // report the median time per evaluation
};

// Exit codes of the tool.
enum ExitCode : int {
    kExitSuccess = 0,
    kExitExpressionFailed = 1,
    kExitUsage = 2,
};

class EvalCommand {
public:
    EvalCommand(std::shared_ptr<PluginModule> module, std::ostream& out, std::ostream& err)
        : m_Module(std::move(module)), m_Out(out), m_Err(err) {}

    int run(const EvalOptions& options);

private:
    std::shared_ptr<PluginModule> m_Module;
    std::ostream& m_Out;
    std::ostream& m_Err;
};

} // namespace corehost
