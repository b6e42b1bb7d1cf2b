// corehost's command line, read with CLI11.
#include "cli/Options.h"

#include "cli/ExitCodes.h"
#include "cli/PluginLocator.h"
#include "cli/Report.h"
#include "eval/MessageText.h"
#include "eval/NameSuggestion.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace corehost {

namespace {

constexpr const char* kToolExamples = R"help(Examples:
  corehost list
  corehost check examples/rules.json
  corehost --version
  corehost eval examples/version-check.json
  corehost eval -e "$(cat tree.json)"
  corehost --trace eval --json examples/rules.json
  corehost eval --format junit examples/rule-pack.json > report.xml
  corehost --root /mnt/image eval examples/baseline/debian12.json
  cat tree.json | corehost eval -

Exit status: 0 when every rule succeeded and met its expectation, 1 when an
expression failed or a rule did not meet its expectation, 2 for usage, input
or output errors.)help";

constexpr const char* kEvalExamples =
    R"help(A tree is {"name": ..., "properties": {...}, "children": [...]};
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
  corehost eval -e "$(cat tree.json)"
  corehost eval - < tree.json)help";

constexpr const char* kListExamples = R"help(Examples:
  corehost list
  corehost list --json
  corehost --plugin build/debug/lib/libCorePlugin.so list
  corehost --plugin lib/libCorePlugin.so --plugin lib/libSystemPlugin.so list)help";

constexpr const char* kDiffExamples =
    R"help(Compares two JSON reports (corehost eval --format json) rule by rule.
Exit status: 1 when a rule got worse (it fails or errs now and did not
before, or is new and fails), 0 otherwise, 2 when a report cannot be read.

Examples:
  corehost diff yesterday.json today.json
  corehost diff --json old/report.json new/report.json)help";

constexpr const char* kReportExamples =
    R"help(Writes one HTML page of the JSON reports of many hosts: the hosts
ranked by failed rules weighted by severity, a host x rule matrix, and each
host's reasons. A fleet-result.json (hosts with their outcome) given or found
beside the reports lists the hosts that have no report.

Examples:
  corehost report coreplugin-reports/*/report.json --output fleet.html
  corehost report --since last-week/ reports/*.json --output fleet.html)help";

constexpr const char* kCheckExamples =
    R"help(Checks names, properties and their values, children and literal
operands against the descriptions of the loaded plug-ins; nothing is evaluated.
Exit status: 0 when clean, 1 with findings, 2 when a file cannot be read
as a document.

Examples:
  corehost check examples/rules.json
  corehost check rules/*.json
  corehost check --rules examples/rule-pack.json
  corehost check -e "$(cat tree.json)")help";

const std::vector<std::string> kCommands{"eval", "check", "list", "diff", "report"};

constexpr const char* kBothDocumentForms =
    "FILE excludes --expression: give the documents as files or as -e TEXT, not both";

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
                return std::string(name) + " is missing its value: " + quote(value) +
                       " is a command";
    }
    const std::vector<std::string> extras = app.remaining();
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.empty() || word[0] == '-' ||
            std::find(extras.begin(), extras.end(), word) == extras.end())
            continue;
        const std::string suggestion = suggestName(word, kCommands);
        return "unknown command " + quote(word) +
               (suggestion.empty() ? ": the commands are eval, check, list, diff and report"
                                   : didYouMean(suggestion));
    }
    return "a command is required: eval, check, list, diff or report";
}

// "NAME=VALUE" or "PLUGIN:NAME=VALUE" of each --set.
bool parseSettings(const std::vector<std::string>& texts, std::vector<Setting>& settings) {
    for (const std::string& text : texts) {
        const std::size_t equals = text.find('=');
        const std::size_t colon = text.substr(0, equals).find(':');
        const std::size_t nameAt = colon == std::string::npos ? 0 : colon + 1;
        if (equals == std::string::npos || equals == nameAt || colon == 0) {
            std::cerr << "corehost: --set expects NAME=VALUE or PLUGIN:NAME=VALUE, not "
                      << quote(text) << '\n';
            return false;
        }
        settings.push_back(Setting{nameAt == 0 ? std::string() : text.substr(0, colon),
                                   text.substr(nameAt, equals - nameAt), text.substr(equals + 1)});
    }
    return true;
}

// When eval has no document: the option that seems to have taken it as its
// value, as in "--rule rules.json".
std::string missingValueHint(const EvalOptions& options) {
    const std::pair<const char*, const std::vector<std::string>*> lists[] = {
        {"--rule", &options.rules}, {"--tag", &options.tags}};
    for (const auto& list : lists)
        for (const std::string& value : *list.second)
            if (value == "-" || (value.size() > 5 && value.rfind(".json") == value.size() - 5))
                return std::string("; ") + list.first + " took " + quote(value) + " as its value";
    return "";
}

} // namespace

int parseCommandLine(int argc, char** argv, CommandLine& line) {
    CLI::App app{"Evaluates expression trees with the plug-ins CorePlugin and SystemPlugin.",
                 "corehost"};
    app.formatter(std::make_shared<HelpFormatter>()); // before the commands, which inherit it
    app.footer(kToolExamples);
    app.require_subcommand(0, 1);

    std::vector<std::string> settingTexts;
    bool version = false;
    app.add_option("--plugin", line.pluginPaths,
                   "A plug-in module to load, a path (repeatable; default: every plug-in "
                   "installed beside the executable, " +
                       describeDefaultPlugins() + ")")
        ->type_name("PATH")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--set", settingTexts,
                   "Passes a property to the plug-ins that have it, or with PLUGIN: to that "
                   "one only (repeatable)")
        ->type_name("[PLUGIN:]NAME=VALUE")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_flag("--trace", line.trace, "Prints the plug-in's trace records on standard error");
    app.add_option("--root", line.root,
                   "Evaluates as if DIR were /: every path a rule names is read inside DIR (an "
                   "image, a chroot, a mounted disk); needs root; rules tagged runtime are skipped")
        ->type_name("DIR")
        ->allow_extra_args(false);
    app.add_flag("--version", version, "Prints corehost's version and the plug-in's");

    EvalOptions& evalOptions = line.eval;
    std::string format;
    std::string formatHelp;
    std::vector<std::string> formatNames;
    for (const ReportFormatName& known : kReportFormats) {
        formatHelp += (formatNames.empty()                      ? ""
                       : &known == std::end(kReportFormats) - 1 ? " or "
                                                                : ", ") +
                      std::string(known.name) + " (" + known.what + ")";
        formatNames.emplace_back(known.name);
    }
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
    // FILE and -e exclude each other, checked after parsing: CLI11's own
    // check would print an "Excludes:" line under each in the help.
    eval->add_option("--format", format, "The report: " + formatHelp)
        ->type_name("FORMAT")
        ->check(CLI::IsMember(formatNames));
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
    eval->add_flag("-q,--quiet", quiet, "Reports only the failures, and the summary");
    eval->add_flag("-v,--verbose", verbose,
                   "Reports every rule under its header with its status, and the summary");
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
    list->add_flag("--markdown", listMarkdown,
                   "Each plug-in's expressions, as its description gives them, as a Markdown table")
        ->excludes(listJsonOption);

    CLI::App* check = app.add_subcommand("check", "Checks documents without evaluating them");
    check->footer(kCheckExamples);
    check->fallthrough();
    CLI::Option* checkFileOption =
        check->add_option("files", line.checkFiles, "The documents; - for standard input")
            ->type_name("FILE");
    std::string checkInline;
    CLI::Option* checkInlineOption =
        check->add_option("-e,--expression", checkInline, "The document itself")->type_name("TEXT");
    check->add_flag("--rules", line.checkRules,
                    "Lists the rules of the documents, one per line: id, severity, tags "
                    "(comma-separated) and title, separated by tabs");

    CLI::App* diff =
        app.add_subcommand("diff", "Shows the rules whose status changed between two reports");
    diff->footer(kDiffExamples);
    diff->fallthrough();
    diff->add_option("old", line.diffOld, "The earlier JSON report")->type_name("OLD")->required();
    diff->add_option("new", line.diffNew, "The later JSON report")->type_name("NEW")->required();
    diff->add_flag("--json", line.diffJson, "The changes as one JSON object");

    CLI::App* report =
        app.add_subcommand("report", "Writes one HTML page of the JSON reports of many hosts");
    report->footer(kReportExamples);
    report->fallthrough();
    report->add_option("files", line.fleet.files, "The hosts' JSON reports, and fleet-result.json")
        ->type_name("FILE...")
        ->required();
    report
        ->add_option("--since", line.fleet.since,
                     "A folder of earlier reports: each host's rules whose status changed")
        ->type_name("DIR");
    report
        ->add_option("-o,--output", line.fleet.outputFile,
                     "Writes the page to FILE instead of standard output")
        ->type_name("FILE");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0)
            return app.exit(e); // --help
        const std::vector<CLI::App*> commands = app.get_subcommands();
        const CLI::App* command = commands.empty() ? nullptr : commands.front();
        const bool extras = dynamic_cast<const CLI::ExtrasError*>(&e) != nullptr;
        // CLI11's messages quote the arguments as given: escaped, they stay one line.
        std::cerr << usageError(
            command || !extras ? escapeText(e.what()) : commandMistake(app, argc, argv), command);
        return kExitUsage;
    }
    if (line.pluginPaths.empty())
        line.pluginPaths = defaultPluginPaths();
    if (version && app.get_subcommands().empty()) {
        line.command = CommandLine::Command::Version;
        return -1;
    }
    if (version) {
        std::cerr << usageError("--version takes no command", nullptr);
        return kExitUsage;
    }
    if (app.get_subcommands().empty()) {
        std::cerr << usageError(commandMistake(app, 0, argv), nullptr);
        return kExitUsage;
    }
    if (!parseSettings(settingTexts, line.settings))
        return kExitUsage;
    if (!line.root.empty() && !eval->parsed()) {
        std::cerr << usageError("--root applies to eval only: check and list read no file a rule "
                                "names",
                                nullptr);
        return kExitUsage;
    }

    if (eval->parsed()) {
        line.command = CommandLine::Command::Eval;
        evalOptions.hasInline = inlineOption->count() > 0;
        if (evalOptions.hasInline && fileOption->count() > 0) {
            std::cerr << usageError(kBothDocumentForms, eval);
            return kExitUsage;
        }
        evalOptions.timed = repeatOption->count() > 0;
        if (!evalOptions.hasInline && evalOptions.files.empty()) {
            std::cerr << usageError("eval needs a FILE, - for standard input, or -e TEXT" +
                                        missingValueHint(evalOptions),
                                    eval);
            return kExitUsage;
        }
        if (quiet && verbose) {
            std::cerr << usageError("--quiet excludes --verbose", eval);
            return kExitUsage;
        }
        if (json && !format.empty() && format != "json") {
            std::cerr << "corehost: --json asks for --format json, not --format " << format << '\n';
            return kExitUsage;
        }
        for (const ReportFormatName& known : kReportFormats)
            if (format == known.name || (json && known.format == ReportFormat::Json))
                evalOptions.format = known.format;
        evalOptions.check = !noCheck;
        evalOptions.verbosity = quiet ? -1 : verbose ? 1 : 0;
        evalOptions.settings = line.settings;
        evalOptions.root = line.root;
        // Colour only for people: a terminal, and no NO_COLOR in the environment.
        const char* noColour = std::getenv("NO_COLOR");
        evalOptions.colour = evalOptions.format == ReportFormat::Text &&
                             evalOptions.outputFile.empty() && ::isatty(STDOUT_FILENO) == 1 &&
                             (noColour == nullptr || *noColour == '\0');
    }
    if (check->parsed()) {
        line.command = CommandLine::Command::Check;
        if (checkInlineOption->count() > 0 && checkFileOption->count() > 0) {
            std::cerr << usageError(kBothDocumentForms, check);
            return kExitUsage;
        }
        if (checkInlineOption->count() > 0)
            line.checkInline = checkInline;
        else if (line.checkFiles.empty()) {
            std::cerr << usageError("check needs a FILE, - for standard input, or -e TEXT", check);
            return kExitUsage;
        }
    }
    if (diff->parsed())
        line.command = CommandLine::Command::Diff;
    if (report->parsed())
        line.command = CommandLine::Command::Report;
    if (list->parsed()) {
        line.command = CommandLine::Command::List;
        line.listForm = listJson       ? CommandLine::ListForm::Json
                        : listMarkdown ? CommandLine::ListForm::Markdown
                                       : CommandLine::ListForm::Names;
    }
    return -1;
}

} // namespace corehost
