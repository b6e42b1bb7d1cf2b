// corehost's command line: its commands and options, read into one value, with
// the help texts and the messages for a line that cannot be read.
#pragma once

#include "cli/EvalCommand.h"
#include "cli/FleetCommand.h"
#include "eval/PluginSet.h"

#include <optional>
#include <string>
#include <vector>

namespace corehost {

struct CommandLine {
    enum class Command { None, Eval, Check, List, Diff, Report, Version };
    Command command = Command::None;

    std::vector<std::string> pluginPaths; // empty: the plug-ins beside corehost
    std::vector<Setting> settings;        // --set, in order
    bool trace = false;
    std::string root; // --root: the directory eval scans as if it were "/"

    EvalOptions eval;

    std::vector<std::string> checkFiles;
    std::optional<std::string> checkInline; // check -e TEXT
    bool checkRules = false;

    std::string diffOld, diffNew; // diff OLD NEW
    bool diffJson = false;

    FleetOptions fleet; // report FILE...

    enum class ListForm { Names, Json, Markdown };
    ListForm listForm = ListForm::Names;
};

// Reads the command line into `line`. Returns -1 when corehost goes on with
// it; otherwise the exit status, having printed the help asked for or said
// on standard error what is wrong.
int parseCommandLine(int argc, char** argv, CommandLine& line);

} // namespace corehost
