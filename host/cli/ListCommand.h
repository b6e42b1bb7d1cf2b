// corehost list: the registered expression names and the kind of each.
#pragma once

#include "eval/PluginModule.h"

#include <ostream>

namespace corehost {

class ListCommand {
public:
    ListCommand(PluginModule& module, std::ostream& out) : m_Module(module), m_Out(out) {}

    // One line per registered name, in registration order: the name and its
    // kind, found by creating one instance ("unavailable" when the factory
    // refuses the name). Always 0.
    int run();

private:
    PluginModule& m_Module;
    std::ostream& m_Out;
};

} // namespace corehost
