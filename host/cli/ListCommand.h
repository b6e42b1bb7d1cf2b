// corehost list: the registered expression names and the kind of each, and
// the catalog's description of them.
#pragma once

#include "eval/PluginModule.h"

#include <ostream>

namespace corehost {

class ListCommand {
public:
    ListCommand(PluginModule& module, std::ostream& out, std::ostream& err)
        : m_Module(module), m_Out(out), m_Err(err) {}

    // One line per registered name, in registration order: the name and its
    // kind, found by creating one instance ("unavailable" when the factory
    // refuses the name). Always 0.
    int run();

    // One JSON object per registered name, one a line: its name and kind as
    // above and, for a name the catalog describes, its children, properties
    // and result. A kind that disagrees with the catalog is warned about on
    // `err`. Always 0.
    int runJson();

    // The catalog as a Markdown table (the README's table of expressions).
    // Always 0.
    int runMarkdown();

private:
    PluginModule& m_Module;
    std::ostream& m_Out;
    std::ostream& m_Err;
};

} // namespace corehost
