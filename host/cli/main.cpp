// corehost: evaluates expression trees from the command line through the
// plug-ins it loads (by default CorePlugin and SystemPlugin).
#include "cli/CheckCommand.h"
#include "cli/EvalCommand.h"
#include "cli/ListCommand.h"
#include "cli/OutputFile.h"
#include "cli/PluginLocator.h"
#include "cli/TraceWriter.h"
#include "eval/Catalog.h"
#include "eval/MessageText.h"
#include "eval/NameSuggestion.h"
#include "eval/PluginCall.h"
#include "eval/TextConversion.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kToolExamples = R"(Examples:
  corehost list
  corehost check examples/rules.json
  corehost --version
  corehost eval examples/version-check.json
  corehost eval -e '{"name": "ValueOf", "properties": {"value": "hello"}}'
  corehost --trace eval --json examples/rules.json
  corehost eval --format junit examples/rule-pack.json > report.xml
  cat tree.json | corehost eval -

Exit status: 0 when every rule succeeded and met its expectation, 1 when an
expression failed or a rule did not meet its expectation, 2 for usage, input
or output errors.)";

constexpr const char* kEvalExamples =
    R"(A tree is {"name": ..., "properties": {...}, "children": [...]};
a document is one tree or {"rules": [{"id": ..., "tree": {...}}, ...]}; a rule
may say what its result must be ("expect") and carry "title", "description",
"severity" and "tags".

--rule and --tag select together: a rule is evaluated when --rule names its id
or --tag names one of its tags.

What corehost check finds stops eval before anything is evaluated (exit 2);
--no-check evaluates the documents as they stand.

Examples:
  corehost eval examples/version-check.json
  corehost eval --json examples/rules.json
  corehost eval examples/rule-pack.json examples/rules.json
  corehost eval --tag security --format tap examples/rule-pack.json
  corehost eval --explain --rule channel-is-stable examples/rule-pack.json
  corehost eval --format junit --fail-on high --output report.xml examples/rule-pack.json
  corehost eval --repeat 1000 examples/md5-of-values.json
  corehost eval -e '{"name": "Not", "children": [{"name": "ValueOf", "properties": {"value": "true"}}]}'
  corehost eval - < tree.json)";

constexpr const char* kListExamples = R"(Examples:
  corehost list
  corehost list --json
  corehost --plugin build/debug/lib/libCorePlugin.so list
  corehost --plugin lib/libCorePlugin.so --plugin lib/libSystemPlugin.so list)";

constexpr const char* kCheckExamples =
    R"(Checks names, properties and their values, children and literal
operands against the catalog of expressions; nothing is evaluated.
Exit status: 0 when clean, 1 with findings, 2 when a file cannot be read
as a document.

Examples:
  corehost check examples/rules.json
  corehost check rules/*.json
  corehost check --rules examples/rule-pack.json
  corehost check -e '{"name": "ValueOf", "properties": {"value": "x"}}')";

const std::vector<std::string> kCommands{"eval", "check", "list"};

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

// Every command's help lists the options of corehost itself too, which are
// accepted before and after the command.
class HelpFormatter : public CLI::Formatter {
public:
    std::string make_footer(const CLI::App* app) const override {
        const CLI::App* parent = app->get_parent();
        if (!parent)
            return CLI::Formatter::make_footer(app);
        // --version and --help are for corehost alone, not with a command.
        const std::vector<const CLI::Option*> global =
            parent->get_options([parent](const CLI::Option* option) {
                return option != parent->get_help_ptr() && option->get_name() != "--version";
            });
        std::string group =
            make_group("Options of corehost (before or after the command)", false, global);
        if (!group.empty() && group.front() == '\n')
            group.erase(0, 1); // the footer already starts after an empty line
        return group + "\n" + CLI::Formatter::make_footer(app);
    }
};

// "corehost: MESSAGE (see corehost [COMMAND] --help)", one line.
std::string usageError(const std::string& message, const CLI::App* command) {
    return "corehost: " + message + " (see corehost " +
           (command ? command->get_name() + " " : std::string()) + "--help)\n";
}

// The command given when no command was recognised: an unknown word where
// the command goes, or a command name taken as the value of an option that
// was left without one.
std::string commandMistake(const CLI::App& app, int argc, char** argv) {
    for (const char* name : {"--plugin", "--set"}) {
        for (const std::string& value : app.get_option(name)->as<std::vector<std::string>>())
            if (std::find(kCommands.begin(), kCommands.end(), value) != kCommands.end())
                return std::string(name) + " is missing its value: " + corehost::quote(value) +
                       " is a command";
    }
    const std::vector<std::string> extras = app.remaining();
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.empty() || word[0] == '-' ||
            std::find(extras.begin(), extras.end(), word) == extras.end())
            continue;
        const std::string suggestion = corehost::suggestName(word, kCommands);
        return "unknown command " + corehost::quote(word) +
               (suggestion.empty() ? ": the commands are eval, check and list"
                                   : corehost::didYouMean(suggestion));
    }
    return "a command is required: eval, check or list";
}

// A --set: the plug-in it names ("" for any), the property and its value.
struct Setting {
    std::string plugin;
    std::wstring name;
    std::wstring value;
};

bool parseSettings(const std::vector<std::string>& texts, std::vector<Setting>& settings) {
    for (const std::string& text : texts) {
        const std::size_t equals = text.find('=');
        const std::size_t colon = text.substr(0, equals).find(':');
        const std::size_t nameAt = colon == std::string::npos ? 0 : colon + 1;
        if (equals == std::string::npos || equals == nameAt || colon == 0) {
            std::cerr << "corehost: --set expects NAME=VALUE or PLUGIN:NAME=VALUE, not "
                      << corehost::quote(text) << '\n';
            return false;
        }
        settings.push_back(Setting{nameAt == 0 ? std::string() : text.substr(0, colon),
                                   corehost::fromUtf8(text.substr(nameAt, equals - nameAt)),
                                   corehost::fromUtf8(text.substr(equals + 1))});
    }
    return true;
}

// Whether the catalog of the plug-in `plugin` names the setting `name`.
bool namesSetting(const std::string& plugin, const std::string& name) {
    const corehost::PluginCatalog* catalog = corehost::findCatalog(plugin);
    if (!catalog)
        return false;
    for (const corehost::SettingSpec& setting : catalog->settings)
        if (name == setting.name)
            return true;
    return false;
}

// Gives every setting to its plug-ins: PLUGIN:NAME to that plug-in only,
// NAME to the loaded plug-ins whose catalog names it. False after saying why
// for a plug-in that is not loaded, or a name its catalog does not have.
bool applySettings(corehost::PluginSet& plugins, const std::vector<Setting>& settings) {
    for (const Setting& setting : settings) {
        const std::string name = corehost::toUtf8(setting.name);
        std::vector<corehost::PluginModule*> targets;
        for (const std::shared_ptr<corehost::PluginModule>& module : plugins.modules()) {
            const std::string plugin = corehost::PluginSet::pluginName(*module);
            if (setting.plugin.empty() ? namesSetting(plugin, name) : plugin == setting.plugin)
                targets.push_back(module.get());
        }
        if (!setting.plugin.empty()) {
            std::vector<std::string> loaded;
            for (const std::shared_ptr<corehost::PluginModule>& module : plugins.modules())
                loaded.push_back(corehost::PluginSet::pluginName(*module));
            const std::string option =
                "corehost: --set " + corehost::escapeText(setting.plugin + ":" + name) + ": ";
            if (targets.empty()) {
                std::cerr << option << "no loaded plug-in is called "
                          << corehost::quote(setting.plugin)
                          << corehost::didYouMean(corehost::suggestName(setting.plugin, loaded))
                          << '\n';
                return false;
            }
            const corehost::PluginCatalog* catalog = corehost::findCatalog(setting.plugin);
            if (catalog && !namesSetting(setting.plugin, name)) {
                std::vector<std::string> known;
                for (const corehost::SettingSpec& spec : catalog->settings)
                    known.emplace_back(spec.name);
                std::cerr << option << setting.plugin << " has no setting " << corehost::quote(name)
                          << corehost::didYouMean(corehost::suggestName(name, known)) << '\n';
                return false;
            }
        }
        // A name no catalog has goes to every plug-in, which skips it; check
        // reports it (and so stops eval).
        if (targets.empty())
            for (const std::shared_ptr<corehost::PluginModule>& module : plugins.modules())
                targets.push_back(module.get());
        for (corehost::PluginModule* module : targets) {
            corehost::PluginCall call(*module);
            module->plugin().setProperty(setting.name.c_str(), setting.value.c_str());
        }
    }
    return true;
}

// When eval has no document: the option that seems to have taken it as its
// value, as in "--rule rules.json".
std::string missingValueHint(const corehost::EvalOptions& options) {
    const std::pair<const char*, const std::vector<std::string>*> lists[] = {
        {"--rule", &options.rules}, {"--tag", &options.tags}};
    for (const auto& list : lists)
        for (const std::string& value : *list.second)
            if (value == "-" || (value.size() > 5 && value.rfind(".json") == value.size() - 5))
                return std::string("; ") + list.first + " took " + corehost::quote(value) +
                       " as its value";
    return "";
}

// The plug-in modules at `paths`, or null after saying why on standard error.
std::shared_ptr<corehost::PluginSet> loadPlugins(const std::vector<std::string>& paths) {
    std::string error;
    std::shared_ptr<corehost::PluginSet> plugins = corehost::PluginSet::load(paths, error);
    if (!plugins)
        std::cerr << "corehost: " << error << '\n';
    return plugins;
}

// corehost's version and each loaded plug-in's name and version.
int printVersion(const std::vector<std::string>& pluginPaths) {
    std::cout << "corehost " COREHOST_VERSION "\n";
    std::shared_ptr<corehost::PluginSet> plugins = loadPlugins(pluginPaths);
    if (!plugins)
        return corehost::kExitUsage;
    for (const std::shared_ptr<corehost::PluginModule>& module : plugins->modules()) {
        const PluginSDK::PluginVersion version = module->plugin().getVersion();
        std::cout << "plug-in " << corehost::PluginSet::pluginName(*module) << ' ' << version.major
                  << '.' << version.minor << '.' << version.build << '.' << version.revision << " ("
                  << module->path() << ")\n";
    }
    return corehost::kExitSuccess;
}

int run(int argc, char** argv) {
    CLI::App app{"Evaluates expression trees with the plug-ins CorePlugin and SystemPlugin.",
                 "corehost"};
    app.formatter(std::make_shared<HelpFormatter>()); // before the commands, which inherit it
    app.footer(kToolExamples);
    app.require_subcommand(0, 1);

    std::vector<std::string> pluginPaths;
    std::vector<std::string> settingTexts;
    bool trace = false;
    bool version = false;
    app.add_option("--plugin", pluginPaths,
                   "A plug-in module to load, a path (repeatable; default: every plug-in "
                   "installed beside the executable, " +
                       corehost::describeDefaultPlugins() + ")")
        ->type_name("PATH")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--set", settingTexts,
                   "Passes a property to the plug-ins that have it, or with PLUGIN: to that "
                   "one only (repeatable)")
        ->type_name("[PLUGIN:]NAME=VALUE")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_flag("--trace", trace, "Prints the plug-in's trace records on standard error");
    app.add_flag("--version", version, "Prints corehost's version and the plug-in's");

    corehost::EvalOptions evalOptions;
    std::string format;
    bool json = false;
    CLI::App* eval = app.add_subcommand("eval", "Evaluates JSON documents of expression trees");
    eval->footer(kEvalExamples);
    eval->fallthrough();
    CLI::Option* fileOption =
        eval->add_option("file", evalOptions.files,
                         "The documents, evaluated in order; - for standard input")
            ->type_name("FILE...");
    CLI::Option* inlineOption =
        eval->add_option("-e,--expression", evalOptions.inlineText, "The document itself")
            ->type_name("TEXT");
    fileOption->excludes(inlineOption);
    eval->add_option("--format", format,
                     "The report: text (default), json (one object per rule), junit (JUnit "
                     "XML) or tap (TAP version 13)")
        ->type_name("FORMAT")
        ->check(CLI::IsMember({"text", "json", "junit", "tap"}));
    eval->add_flag("--json", json, "The same as --format json");
    eval->add_option("--rule", evalOptions.rules, "Evaluates the rule with this id (repeatable)")
        ->type_name("ID")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    eval->add_option("--tag", evalOptions.tags,
                     "Evaluates the rules carrying this tag (repeatable)")
        ->type_name("TAG")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    eval->add_flag("--explain", evalOptions.explain,
                   "Shows each rule's tree with what every node gave");
    CLI::Option* repeatOption =
        eval->add_option("--repeat", evalOptions.repeat,
                         "Evaluates N times and reports the median time of one evaluation "
                         "(exact up to 4096 evaluations, beyond that the median of a uniform "
                         "random sample of 4096 of them)")
            ->type_name("N")
            ->check(CLI::Range(1u, 1000000000u));
    bool noCheck = false;
    eval->add_flag("--no-check", noCheck,
                   "Evaluates the documents as they stand, without refusing what check finds");
    eval->add_option("--fail-on", evalOptions.failOn,
                     "Only failures of rules with this severity or above set exit status 1 "
                     "(default: every failure)")
        ->type_name("SEVERITY")
        ->check(CLI::IsMember({"info", "low", "medium", "high", "critical"}));
    bool quiet = false;
    bool verbose = false;
    CLI::Option* quietOption =
        eval->add_flag("-q,--quiet", quiet, "Reports only the failures, and the summary");
    eval->add_flag("-v,--verbose", verbose,
                   "Reports every rule under its header with its status, and the summary")
        ->excludes(quietOption);
    eval->add_option("-o,--output", evalOptions.outputFile,
                     "Writes the report to FILE (a valid report also when the input is invalid)")
        ->type_name("FILE");

    CLI::App* list = app.add_subcommand("list", "Lists the registered expressions and their kinds");
    list->footer(kListExamples);
    list->fallthrough();
    bool listJson = false;
    bool listMarkdown = false;
    CLI::Option* listJsonOption = list->add_flag(
        "--json", listJson, "One JSON object per expression, with its children and properties");
    list->add_flag("--markdown", listMarkdown, "The catalog of expressions as a Markdown table")
        ->excludes(listJsonOption);

    std::vector<std::string> checkFiles;
    CLI::App* check = app.add_subcommand("check", "Checks documents without evaluating them");
    check->footer(kCheckExamples);
    check->fallthrough();
    CLI::Option* checkFileOption =
        check->add_option("files", checkFiles, "The documents; - for standard input")
            ->type_name("FILE");
    std::string checkInline;
    CLI::Option* checkInlineOption =
        check->add_option("-e,--expression", checkInline, "The document itself")->type_name("TEXT");
    checkFileOption->excludes(checkInlineOption);
    bool checkRules = false;
    check->add_flag("--rules", checkRules,
                    "Lists the rules of the documents, one per line: id, severity, tags "
                    "(comma-separated) and title, separated by tabs");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0)
            return app.exit(e); // --help
        const std::vector<CLI::App*> commands = app.get_subcommands();
        const CLI::App* command = commands.empty() ? nullptr : commands.front();
        const bool extras = dynamic_cast<const CLI::ExtrasError*>(&e) != nullptr;
        // CLI11's messages quote the arguments as given: escaped, they stay one line.
        std::cerr << usageError(command || !extras ? corehost::escapeText(e.what())
                                                   : commandMistake(app, argc, argv),
                                command);
        return corehost::kExitUsage;
    }
    if (pluginPaths.empty())
        pluginPaths = corehost::defaultPluginPaths();
    if (version && app.get_subcommands().empty())
        return printVersion(pluginPaths);
    if (version) {
        std::cerr << usageError("--version takes no command", nullptr);
        return corehost::kExitUsage;
    }
    if (app.get_subcommands().empty()) {
        std::cerr << usageError(commandMistake(app, 0, argv), nullptr);
        return corehost::kExitUsage;
    }

    if (eval->parsed()) {
        evalOptions.hasInline = inlineOption->count() > 0;
        evalOptions.timed = repeatOption->count() > 0;
        if (!evalOptions.hasInline && evalOptions.files.empty()) {
            std::cerr << usageError("eval needs a FILE, - for standard input, or -e TEXT" +
                                        missingValueHint(evalOptions),
                                    eval);
            return corehost::kExitUsage;
        }
        if (json && !format.empty() && format != "json") {
            std::cerr << "corehost: --json asks for --format json, not --format " << format << '\n';
            return corehost::kExitUsage;
        }
        const std::pair<const char*, corehost::ReportFormat> formats[] = {
            {"json", corehost::ReportFormat::Json},
            {"junit", corehost::ReportFormat::Junit},
            {"tap", corehost::ReportFormat::Tap}};
        for (const auto& known : formats)
            if (format == known.first || (json && known.second == corehost::ReportFormat::Json))
                evalOptions.format = known.second;
        evalOptions.check = !noCheck;
        evalOptions.verbosity = quiet ? -1 : verbose ? 1 : 0;
        // Colour only for people: a terminal, and no NO_COLOR in the environment.
        const char* noColour = std::getenv("NO_COLOR");
        evalOptions.colour = evalOptions.format == corehost::ReportFormat::Text &&
                             evalOptions.outputFile.empty() && ::isatty(STDOUT_FILENO) == 1 &&
                             (noColour == nullptr || *noColour == '\0');
    }
    if (check->parsed() && checkFiles.empty() && checkInlineOption->count() == 0) {
        std::cerr << usageError("check needs a FILE, - for standard input, or -e TEXT", check);
        return corehost::kExitUsage;
    }
    std::vector<Setting> settings;
    if (!parseSettings(settingTexts, settings))
        return corehost::kExitUsage;
    corehost::Settings namedSettings;
    for (const Setting& setting : settings)
        namedSettings.emplace_back(corehost::toUtf8(setting.name), corehost::toUtf8(setting.value));
    evalOptions.settings = namedSettings;

    // The trace writer outlives the plug-in, so that its last records print.
    corehost::TraceWriter traceWriter(trace, std::cerr);
    std::shared_ptr<corehost::PluginSet> plugins = loadPlugins(pluginPaths);
    if (!plugins)
        return corehost::kExitUsage;
    // Documents are checked, and codes explained, by the loaded plug-ins' catalogs.
    std::vector<std::string> pluginNames;
    for (const std::shared_ptr<corehost::PluginModule>& module : plugins->modules())
        pluginNames.push_back(corehost::PluginSet::pluginName(*module));
    corehost::selectCatalogs(pluginNames);
    for (const std::shared_ptr<corehost::PluginModule>& module : plugins->modules())
        if (module->initializeCode() != 0)
            std::cerr << "corehost: warning: initializePlugin returned " << module->initializeCode()
                      << " ("
                      << corehost::codeMeaning(module->initializeCode(),
                                               corehost::PluginSet::pluginName(*module))
                      << ")\n";
    if (!applySettings(*plugins, settings))
        return corehost::kExitUsage;

    if (list->parsed()) {
        corehost::ListCommand command(*plugins, std::cout, std::cerr);
        return listJson ? command.runJson() : listMarkdown ? command.runMarkdown() : command.run();
    }
    if (check->parsed())
        return corehost::CheckCommand(*plugins, std::cout, std::cerr, namedSettings)
            .run(checkFiles, checkRules,
                 checkInlineOption->count() > 0 ? std::optional<std::string>(checkInline)
                                                : std::nullopt);
    return corehost::EvalCommand(plugins, std::cout, std::cerr).run(evalOptions);
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
