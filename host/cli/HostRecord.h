// One host's report as the HTML pages, diff and the fleet report read it:
// the run and each rule with its status and texts. Built from an evaluation,
// or read back from a JSON report of this or an older corehost.
#pragma once

#include "cli/Report.h"
#include "cli/RunInfo.h"

#include <string>
#include <vector>

namespace corehost {

struct RuleRecord {
    std::string id; // the rule id, or the document of a single tree
    std::string title;
    std::string description;
    std::string severity; // empty when the rule has none
    std::string section;  // the first tag, or kNoSection
    std::string status;   // statusName(): pass, fail, error, none, skip
    std::string expected; // quoted, empty without an expectation
    std::string actual;   // the result, quoted; empty for an error or a skipped rule
    std::string reason;   // why it failed, erred or was skipped
    std::vector<std::string> explanation; // --explain lines, when there were any
};

struct HostRecord {
    RunInfo run;        // empty texts for a report that did not say
    std::string source; // the file it was read from
    std::string error;  // the report says the input could not be evaluated
    std::vector<RuleRecord> rules;
    Summary counts; // counted from the rules (and their sections, severities)
};

// The record of an evaluated rule.
RuleRecord recordOf(const RuleReport& report);

// Adds `rule` to the host's rules and counts.
void addRule(HostRecord& host, RuleRecord rule);

// Reads a JSON report (one object per line, the summary line last). Lines that
// are not objects, or a report without any rule nor summary, are an error.
// A report without run details takes its host name from `fallbackHost`.
bool readHostRecord(const std::string& text, const std::string& fallbackHost, HostRecord& host,
                    std::string& error);

// Reads the JSON report at `path` (at most 64 MiB); its host name, when the
// report does not say, is the file name without ".json", or the folder's name
// for a file named report.json.
bool readHostRecordFile(const std::string& path, HostRecord& host, std::string& error);

// The status of `name` ("pass" ...) as a RuleStatus; None for unknown names.
RuleStatus statusFromName(const std::string& name);

} // namespace corehost
