// corehost eval: reads every document, builds every tree, evaluates the
// selected rules in order, checks their expectations and reports them.
#pragma once

#include "cli/Report.h"
#include "cli/RuleEvaluation.h"
#include "eval/PluginSet.h"

#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace corehost {

struct EvalOptions {
    std::vector<std::string> files; // paths, or "-" for standard input (once)
    std::string inlineText;         // the document itself (-e), used when `hasInline`
    bool hasInline = false;
    ReportFormat format = ReportFormat::Text;
    std::vector<std::string> rules; // evaluate only these rules...
    std::vector<std::string> tags;  // ...and the rules carrying one of these tags
    bool explain = false;
    unsigned repeat = 1;
    bool timed = false;            // report the median time per evaluation
    bool check = true;             // refuse documents with findings of `corehost check`
    std::vector<Setting> settings; // the --set settings, checked with the documents
    // Only failures of rules with this severity or above ("info" .. "critical")
    // make the exit status 1; empty: every failure.
    std::string failOn;
    int verbosity = 0;      // -1: only failures and the summary; 1: every rule and the summary
    std::string outputFile; // the report goes there instead of standard output
    bool colour = false;    // pass and fail marks in colour
    // The directory scanned as if it were "/" (base::ScanRoot, prepared before
    // the plug-ins were loaded); empty: this system. Rules tagged "runtime"
    // are skipped there.
    std::string root;
};

class EvalCommand {
public:
    EvalCommand(std::shared_ptr<PluginSet> plugins, std::ostream& out, std::ostream& err)
        : m_Plugins(std::move(plugins)), m_Out(out), m_Err(err) {}

    int run(const EvalOptions& options);

private:
    // Says `message` (without "corehost: ") on standard error and keeps the
    // first one for an error report.
    void inputError(const std::string& message);
    // The summary line on standard error; the time is that since `started`.
    // With --fail-on (`failOn`), also how many failures set the exit status.
    void printSummary(const Summary& counts, std::chrono::steady_clock::time_point started,
                      const std::string& failOn, std::size_t failing);
    // Reads, checks, selects, builds, evaluates and reports: the run whose
    // report goes to `report`.
    int evaluate(const EvalOptions& options, std::ostream& report);
    bool readDocuments(const EvalOptions& options, std::vector<Document>& documents);
    // What check finds stops the run, each finding said on standard error.
    bool checkDocuments(const EvalOptions& options, const std::vector<Document>& documents);
    // Builds every rule's trees; false, with the exit status, for the first
    // that cannot be built.
    bool buildTrees(std::vector<RuleEvaluation>& rules, bool severalDocuments, int& status);
    // Makes the directory of --root the process's root, after opening the
    // report file (its path names a file of this system, not of the image);
    // false after saying why.
    bool enterRoot(const EvalOptions& options);
    // Evaluates one rule and describes the outcome for the reporters.
    RuleReport evaluateRule(const EvalOptions& options, RuleEvaluation& entry,
                            bool severalDocuments);

    std::shared_ptr<PluginSet> m_Plugins;
    std::ostream& m_Out;
    std::ostream& m_Err;
    std::string m_InputError;
    bool m_ReportStarted = false;
    int m_OutputFd = -1;   // the report file, when opened before entering a root
    int m_OutputError = 0; // ... or why it could not be
};

} // namespace corehost
