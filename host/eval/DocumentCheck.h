// The static check of documents against the descriptions of the loaded
// plug-ins: names, properties and their values, patterns, children and
// literal operands, without creating or evaluating anything. Findings are
// data; the commands format them.
#pragma once

#include "eval/Document.h"
#include "eval/PluginSet.h"

#include <string>
#include <vector>

namespace corehost {

struct Finding {
    std::string path;    // the node's place, e.g. "rules[1].tree.children[0]"
    std::string message; // one line (UTF-8)
};

// The findings for one rule: its tree in document order, its "expect", then
// its "onlyIf" tree. A name no loaded plug-in registered is unknown; a name
// whose plug-in ships no description is checked no further.
std::vector<Finding> checkRule(const Rule& rule, const PluginSet& plugins);

// The findings of every rule of `document`, each naming its rule.
struct DocumentFinding {
    std::string source; // the document's source
    std::string rule;   // "rule \"id\": " for a rule of a rules document, else ""
    Finding finding;
};
std::vector<DocumentFinding> checkDocument(const Document& document, const PluginSet& plugins);

// The findings for plug-in settings that a plug-in would skip: an unknown
// name, or a value outside its set (only against plug-ins that ship a
// description). The path of each finding is "--set NAME".
std::vector<Finding> checkSettings(const std::vector<Setting>& settings, const PluginSet& plugins);

// How many findings a command lists before it only counts the rest: a
// document with thousands of faults must not print megabytes.
inline constexpr std::size_t kFindingsListed = 100;
// "... and N more findings", for the `omitted` ones past kFindingsListed.
std::string moreFindings(std::size_t omitted);

// "SOURCE: RULE PATH: MESSAGE", one line.
std::string formatFinding(const DocumentFinding& finding);
// "--set NAME: MESSAGE", one line.
std::string formatFinding(const Finding& finding);

// What check says, once, of plug-ins that ship no description: that their
// trees are checked by name only; "" when every loaded plug-in has one.
std::string undescribedNote(const PluginSet& plugins);

} // namespace corehost
