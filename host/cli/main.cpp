// corehost: evaluates expression trees from the command line through the
// CorePlugin plug-in.
#include "cli/CheckCommand.h"
#include "cli/EvalCommand.h"
#include "cli/ListCommand.h"
#include "cli/OutputFile.h"
#include "cli/PluginLocator.h"
#include "cli/TraceWriter.h"
#include "eval/Catalog.h"
#include "eval/TextConversion.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstring>
#include <iostream>
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

Examples:
  corehost eval examples/version-check.json
  corehost eval --json examples/rules.json
  corehost eval examples/rule-pack.json examples/rules.json
  corehost eval --tag security --format tap examples/rule-pack.json
  corehost eval --explain --rule channel-is-stable examples/rule-pack.json
  corehost eval --repeat 1000 examples/md5-of-values.json
  corehost eval -e '{"name": "Not", "children": [{"name": "ValueOf", "properties": {"value": "true"}}]}'
  corehost eval - < tree.json)";

constexpr const char* kListExamples = R"(Examples:
  corehost list
  corehost list --json
  corehost --plugin build/debug/lib/libCorePlugin.so list)";

constexpr const char* kCheckExamples =
    R"(Checks names, properties and their values, children and literal
operands against the catalog of expressions; nothing is evaluated.
Exit status: 0 when clean, 1 with findings, 2 when a file cannot be read
as a document.

Examples:
  corehost check examples/rules.json
  corehost check rules/*.json)";

struct Setting {
    std::wstring name;
    std::wstring value;
};

bool parseSettings(const std::vector<std::string>& texts, std::vector<Setting>& settings) {
    for (const std::string& text : texts) {
        const std::size_t equals = text.find('=');
        if (equals == std::string::npos || equals == 0) {
            std::cerr << "corehost: --set expects NAME=VALUE, not \"" << text << "\"\n";
            return false;
        }
        settings.push_back(Setting{corehost::fromUtf8(text.substr(0, equals)),
                                   corehost::fromUtf8(text.substr(equals + 1))});
    }
    return true;
}

// The plug-in module at `path`, or null after saying why on standard error.
std::shared_ptr<corehost::PluginModule> loadModule(const std::string& path) {
    std::string error;
    std::shared_ptr<corehost::PluginModule> module = corehost::PluginModule::load(path, error);
    if (!module)
        std::cerr << "corehost: " << error << '\n';
    return module;
}

// corehost's version and the loaded plug-in's name and version.
int printVersion(const std::string& pluginPath) {
    std::cout << "corehost " COREHOST_VERSION "\n";
    std::shared_ptr<corehost::PluginModule> module = loadModule(pluginPath);
    if (!module)
        return corehost::kExitUsage;
    const PluginSDK::PluginVersion version = module->plugin().getVersion();
    std::cout << "plug-in " << corehost::toUtf8(module->plugin().getName()) << ' ' << version.major
              << '.' << version.minor << '.' << version.build << '.' << version.revision << " ("
              << pluginPath << ")\n";
    return corehost::kExitSuccess;
}

int run(int argc, char** argv) {
    CLI::App app{"Evaluates expression trees with the CorePlugin plug-in.", "corehost"};
    app.footer(kToolExamples);
    app.require_subcommand(0, 1);

    std::string pluginPath;
    std::vector<std::string> settingTexts;
    bool trace = false;
    bool version = false;
    app.add_option("--plugin", pluginPath,
                   "The plug-in module to load, a path (default: ../lib/libCorePlugin.so beside "
                   "the executable)")
        ->type_name("PATH");
    app.add_option("--set", settingTexts, "Passes a plug-in property (repeatable)")
        ->type_name("NAME=VALUE")
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
    check->add_option("files", checkFiles, "The documents; - for standard input")
        ->type_name("FILE")
        ->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? corehost::kExitSuccess : corehost::kExitUsage;
    }
    if (pluginPath.empty())
        pluginPath = corehost::defaultPluginPath();
    if (version && app.get_subcommands().empty())
        return printVersion(pluginPath);
    if (version || app.get_subcommands().empty()) {
        std::cerr << (version ? "corehost: --version takes no command\n"
                              : "A subcommand is required\n")
                  << "Run with --help for more information.\n";
        return corehost::kExitUsage;
    }

    if (eval->parsed()) {
        evalOptions.hasInline = inlineOption->count() > 0;
        evalOptions.timed = repeatOption->count() > 0;
        if (!evalOptions.hasInline && evalOptions.files.empty()) {
            std::cerr << "corehost: eval needs a FILE, - for standard input, or -e TEXT\n"
                      << "Run with --help for more information.\n";
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
    }
    std::vector<Setting> settings;
    if (!parseSettings(settingTexts, settings))
        return corehost::kExitUsage;

    // The trace writer outlives the plug-in, so that its last records print.
    corehost::TraceWriter traceWriter(trace, std::cerr);
    std::shared_ptr<corehost::PluginModule> module = loadModule(pluginPath);
    if (!module)
        return corehost::kExitUsage;
    // Documents are checked, and codes explained, by the loaded plug-in's catalog.
    corehost::selectCatalog(corehost::toUtf8(module->plugin().getName()));
    if (module->initializeCode() != 0)
        std::cerr << "corehost: warning: initializePlugin returned " << module->initializeCode()
                  << " (" << corehost::codeMeaning(module->initializeCode()) << ")\n";
    for (const Setting& setting : settings)
        module->plugin().setProperty(setting.name.c_str(), setting.value.c_str());

    if (list->parsed()) {
        corehost::ListCommand command(*module, std::cout, std::cerr);
        return listJson ? command.runJson() : listMarkdown ? command.runMarkdown() : command.run();
    }
    if (check->parsed())
        return corehost::CheckCommand(*module, std::cout, std::cerr).run(checkFiles);
    return corehost::EvalCommand(module, std::cout, std::cerr).run(evalOptions);
}

} // namespace

int main(int argc, char** argv) {
    corehost::reserveStandardDescriptors();
    corehost::OutputFile output(STDOUT_FILENO);
    int status = 0;
    {
        corehost::StreamRedirect redirect(std::cout, output);
        status = run(argc, argv);
        std::cout.flush();
    }
    // Output that did not arrive is a failure, whatever was evaluated.
    if (output.error() != 0) {
        std::cerr << "corehost: cannot write to standard output: " << std::strerror(output.error())
                  << '\n';
        return corehost::kExitUsage;
    }
    return status;
}
