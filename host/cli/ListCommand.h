// corehost list: the registered expression names and the kind of each, and
// what their plug-ins' descriptions say of them.
#pragma once

#include "eval/PluginSet.h"

#include <ostream>

namespace corehost {

class ListCommand {
public:
    ListCommand(PluginSet& plugins, std::ostream& out, std::ostream& err)
        : m_Plugins(plugins), m_Out(out), m_Err(err) {}

    // One line per registered name, plug-in after plug-in in load order, each
    // in registration order: the name, its kind, found by creating one
    // instance ("unavailable" when the factory refuses the name) and, when
    // several plug-ins are loaded, the plug-in. Always 0.
    int run();

    // One JSON object per registered name, one a line: its name, kind and
    // plug-in and, for a name the plug-in's description describes, its children,
    // properties and result. A kind that disagrees with the description is warned
    // about on `err`. Always 0.
    int runJson();

    // Each loaded plug-in's description as a Markdown table (the README's table of
    // expressions); with several plug-ins, each table under a heading that
    // names its plug-in. Always 0.
    int runMarkdown();

private:
    PluginSet& m_Plugins;
    std::ostream& m_Out;
    std::ostream& m_Err;
};

} // namespace corehost
