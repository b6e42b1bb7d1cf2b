// corehost: evaluates expression trees from the command line through the
// plug-ins it loads (by default CorePlugin and SystemPlugin): reads the
// command line, loads the plug-in set with its settings, runs the command.
#include "base/ScanRoot.h"
#include "cli/CheckCommand.h"
#include "cli/DiffCommand.h"
#include "cli/EvalCommand.h"
#include "cli/ExitCodes.h"
#include "cli/ListCommand.h"
#include "cli/Options.h"
#include "cli/OutputFile.h"
#include "cli/RunInfo.h"
#include "cli/TraceWriter.h"
#include "eval/MessageText.h"
#include "eval/PluginSet.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Says that memory ran out, without allocating: one line on standard error.
void reportOutOfMemory() {
    static const char kMessage[] = "corehost: out of memory\n";
    ssize_t written = ::write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    (void)written; // nothing more can be done when standard error fails too
}

// Memory that runs out where an exception cannot pass (a destructor, a
// noexcept function) ends the program as it ends everywhere else: exit 2.
[[noreturn]] void onTerminate() {
    if (std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::bad_alloc&) {
            reportOutOfMemory();
            std::_Exit(corehost::kExitUsage);
        } catch (...) {
        }
    }
    std::abort();
}

// The plug-in modules at `paths` with their descriptions, or null after
// saying why on standard error.
std::shared_ptr<corehost::PluginSet> loadPlugins(const std::vector<std::string>& paths) {
    std::string error;
    std::shared_ptr<corehost::PluginSet> plugins = corehost::PluginSet::load(paths, error);
    if (!plugins)
        std::cerr << "corehost: " << error << '\n';
    return plugins;
}

// corehost's version and each loaded plug-in's name and version.
int printVersion(const std::vector<std::string>& pluginPaths) {
    std::cout << "corehost " << corehost::corehostVersion() << "\n";
    std::shared_ptr<corehost::PluginSet> plugins = loadPlugins(pluginPaths);
    if (!plugins)
        return corehost::kExitUsage;
    for (const std::shared_ptr<corehost::PluginModule>& module : plugins->modules()) {
        const PluginSDK::PluginVersion version = module->plugin().getVersion();
        std::cout << "plug-in " << module->name() << ' ' << version.major << '.' << version.minor
                  << '.' << version.build << '.' << version.revision << " (" << module->path()
                  << ")\n";
    }
    return corehost::kExitSuccess;
}

int run(int argc, char** argv) {
    using Command = corehost::CommandLine::Command;
    corehost::CommandLine line;
    const int status = corehost::parseCommandLine(argc, argv, line);
    if (status >= 0)
        return status;
    if (line.command == Command::Version)
        return printVersion(line.pluginPaths);
    // Reading reports needs no plug-in.
    if (line.command == Command::Diff)
        return corehost::DiffCommand(std::cout, std::cerr)
            .run(line.diffOld, line.diffNew, line.diffJson);
    if (line.command == Command::Report)
        return corehost::FleetCommand(std::cout, std::cerr).run(line.fleet);

    // A scanned root is taken before the plug-ins are loaded: they load then
    // what they would otherwise load later, from this system (base::ScanRoot).
    if (!line.root.empty()) {
        const int rc = base::ScanRoot::prepare(line.root.c_str());
        if (rc != 0) {
            std::cerr << "corehost: --root " << corehost::escapeText(line.root) << ": "
                      << std::strerror(-rc) << '\n';
            return corehost::kExitUsage;
        }
        line.eval.root = base::ScanRoot::path();
    }
    // The trace writer outlives the plug-ins, so that their last records print.
    corehost::TraceWriter traceWriter(line.trace, std::cerr);
    std::shared_ptr<corehost::PluginSet> plugins = loadPlugins(line.pluginPaths);
    if (!plugins)
        return corehost::kExitUsage;
    for (const std::shared_ptr<corehost::PluginModule>& module : plugins->modules())
        if (module->initializeCode() != 0)
            std::cerr << "corehost: warning: initializePlugin returned " << module->initializeCode()
                      << " (" << module->codeMeaning(module->initializeCode()) << ")\n";
    std::string error;
    if (!plugins->applySettings(line.settings, error)) {
        std::cerr << "corehost: " << error << '\n';
        return corehost::kExitUsage;
    }

    switch (line.command) {
    case Command::List: {
        corehost::ListCommand command(*plugins, std::cout, std::cerr);
        switch (line.listForm) {
        case corehost::CommandLine::ListForm::Json:
            return command.runJson();
        case corehost::CommandLine::ListForm::Markdown:
            return command.runMarkdown();
        case corehost::CommandLine::ListForm::Names:
            break;
        }
        return command.run();
    }
    case Command::Check:
        return corehost::CheckCommand(*plugins, std::cout, std::cerr, line.settings)
            .run(line.checkFiles, line.checkRules, line.checkInline);
    case Command::Eval:
        return corehost::EvalCommand(plugins, std::cout, std::cerr).run(line.eval);
    case Command::None:
    case Command::Version:
    case Command::Diff:
    case Command::Report:
        break;
    }
    return corehost::kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    std::set_terminate(onTerminate);
    corehost::reserveStandardDescriptors();
    corehost::OutputFile output(STDOUT_FILENO);
    int status = 0;
    try {
        corehost::StreamRedirect redirect(std::cout, output);
        status = run(argc, argv);
        std::cout.flush();
    } catch (const std::bad_alloc&) {
        // Reading, checking, evaluating or reporting a document too large for
        // the memory there is.
        reportOutOfMemory();
        return corehost::kExitUsage;
    }
    // Output that did not arrive is a failure, whatever was evaluated.
    if (output.error() != 0) {
        std::cerr << "corehost: cannot write to standard output: " << std::strerror(output.error())
                  << '\n';
        return corehost::kExitUsage;
    }
    return status;
}
