// What the HTML pages of corehost share: the head with its style sheet, the
// run's details, the tables of counts and the words for statuses. Every text
// that a page shows passes through escapeHtml here or in the page's writer.
#pragma once

#include "cli/Report.h"
#include "cli/RunInfo.h"

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace corehost {

// <!DOCTYPE html> up to <body>: `title` escaped, the style sheet inline, and a
// content security policy that loads nothing from anywhere and runs no script
// but the page's own inline one (`inlineScript`) when there is one.
void writePageHead(std::ostream& out, const std::string& title, bool inlineScript);
void writePageEnd(std::ostream& out);

// The host, start time, versions and documents, as a <dl>.
void writeRunDetails(std::ostream& out, const RunInfo& run);

// A table of counts: one row for every rule, then one per severity (most
// severe first), then one per section.
void writeCountsTable(std::ostream& out, const Summary& counts);

// The word for a status as statusName gives it ("FAILED", "passed"...).
const char* statusWord(const std::string& status);

// The severity in words ("severity high", "no severity").
std::string severityWords(const std::string& severity);

} // namespace corehost
