// The outcome of one evaluated rule, and the reporters that write outcomes in
// corehost's report formats: text, JSON lines, JUnit XML and TAP.
#pragma once

#include "cli/RunInfo.h"
#include "eval/Document.h"
#include "eval/ExpressionTree.h"

#include <cstddef>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace corehost {

enum class ReportFormat { Text, Json, Junit, Tap, Html };

// Every report format by its name, "text" first (the default).
struct ReportFormatName {
    const char* name;
    ReportFormat format;
    const char* what; // for --help
};
extern const ReportFormatName kReportFormats[5];

// pass: the result met the rule's expectation; fail: it did not; error: the
// tree (or its "onlyIf" tree) failed with a code (whether or not the rule
// expects anything); none: the tree succeeded and the rule expects nothing;
// skipped: the rule's "onlyIf" tree did not give "true", so the rule does not
// apply and its tree was not evaluated.
enum class RuleStatus { None, Pass, Fail, Error, Skipped };

const char* statusName(RuleStatus status);

struct RuleReport {
    const Document* document = nullptr;
    const Rule* rule = nullptr;
    const ExpressionTree* tree = nullptr;
    TErrorCode code = 0;
    RuleStatus status = RuleStatus::None;
    std::string name;    // the rule id, or the source of a single-tree document
    std::string failure; // where and how the tree failed, when code != 0
    std::string reason;  // why, as the failed node's last error record said, when it wrote one
    std::string found;   // what a failed rule found against what it expected (status Fail)
    std::vector<std::string> result;      // the result's texts (one for a scalar), when code == 0
    double seconds = 0;                   // time spent evaluating the rule
    std::vector<std::string> explanation; // the evaluated tree, one node a line (--explain)
    std::vector<std::string> condition;   // what the "onlyIf" tree gave, when it succeeded
    bool conditionIsList = false;         // ... as a vector result
    std::string skipReason;               // why a rule skipped without its "onlyIf" was
};

// Rules counted by status.
struct StatusCounts {
    std::size_t passed = 0;
    std::size_t failed = 0;
    std::size_t errors = 0;
    std::size_t withoutExpectation = 0;
    std::size_t skipped = 0; // "onlyIf" was not "true", or the rule does not apply to an image

    // Counts one rule of that status.
    void add(RuleStatus status);
};

// The counts of a run: in all, and by section (a rule's first tag) and by
// severity, where a rule without tags or severity counts under kNoSection or
// kNoSeverity.
struct Summary : StatusCounts {
    std::size_t rules = 0;
    std::string root; // the directory scanned as "/" (--root), or empty
    std::map<std::string, StatusCounts> bySection;
    std::map<std::string, StatusCounts> bySeverity;

    using StatusCounts::add;
    // Counts one rule of that status, also under its section and severity.
    void add(RuleStatus status, const Rule& rule);
};

extern const char* const kNoSection;
extern const char* const kNoSeverity;
// The entries of counts by severity, the most severe first, unknown names and
// kNoSeverity last.
std::vector<std::pair<std::string, StatusCounts>> bySeverityOrder(const Summary& counts);

// The section of a rule: its first tag, or kNoSection.
std::string sectionOf(const Rule& rule);

class Reporter {
public:
    virtual ~Reporter() = default;
    // Before anything: how many rules will be reported.
    virtual void begin(std::size_t ruleCount) { (void)ruleCount; }
    virtual void beginDocument(const Document& document) { (void)document; }
    virtual void rule(const RuleReport& report) = 0;
    virtual void endDocument() {}
    // After the last document, before end().
    virtual void summary(const Summary& counts) { (void)counts; }
    virtual void end() {}
    // Instead of everything else, when the input was invalid and nothing was
    // evaluated: a report that says so (`message` is one line).
    virtual void inputError(const std::string& message) = 0;
};

struct ReportStyle {
    // The run evaluates more than one document, so rules are also told apart
    // by their document.
    bool severalDocuments = false;
    bool colour = false;          // pass and fail marks in colour (text)
    bool verbose = false;         // every rule under its header, with its status (text)
    const RunInfo* run = nullptr; // the run's machine, time and versions (JSON, HTML)
};

std::unique_ptr<Reporter> makeReporter(ReportFormat format, std::ostream& out,
                                       const ReportStyle& style);

// Shared by the reporters.
bool hasMetadata(const Rule& rule);
// The meaning of `code` from the description of the plug-in `module`; with
// no module, "success" for 0 and "unknown code" for the others.
const char* codeMeaning(TErrorCode code, const PluginModule* module);
// "-11008 (invalid version text)", the meaning as codeMeaning gives it.
std::string describeCode(TErrorCode code, const PluginModule* module);
// The plug-in of the node the rule's tree failed at, or null.
const PluginModule* failingModule(const RuleReport& report);
// The expected and the actual result as quoted text ("x" or ["a", "b"]).
std::string describeExpected(const Expectation& expectation);
std::string describeResult(const RuleReport& report);
// What was found against what was expected for a failed expectation (the
// `found` phrase, else "expected "x", got "y""); the failure for an error.
std::string describeProblem(const RuleReport& report);
// "no expectation, result "x"" for a rule without an expectation, "onlyIf
// gave "false"" for a skipped rule, the result cut after `limit` characters.
std::string describeSkip(const RuleReport& report, std::size_t limit);
// `text` (UTF-8) cut after `limit` characters; whether it was cut.
bool cutText(std::string& text, std::size_t limit);
// The number of characters (code points) of `text`.
std::size_t countCharacters(const std::string& text);

} // namespace corehost
