// corehost check: validates documents without evaluating anything.
#pragma once

#include "eval/PluginModule.h"

#include <ostream>
#include <string>
#include <vector>

namespace corehost {

class CheckCommand {
public:
    CheckCommand(PluginModule& module, std::ostream& out, std::ostream& err)
        : m_Module(module), m_Out(out), m_Err(err) {}

    // Reads each file ("-" for standard input) and checks its trees against
    // the catalog and the plug-in's registered names; rule ids must be unique
    // across the files. Findings go to `out`, one a line, naming the
    // document, the rule and the node; documents that cannot be read go to
    // `err`. Returns 0 when clean, 1 with findings, 2 when a file could not be
    // read as a document.
    int run(const std::vector<std::string>& files);

private:
    PluginModule& m_Module;
    std::ostream& m_Out;
    std::ostream& m_Err;
};

} // namespace corehost
