// The static check of a document's trees against the catalog of expressions:
// names, properties and their values, children and literal operands, without
// creating or evaluating anything.
#pragma once

#include "eval/Document.h"

#include <string>
#include <utility>
#include <vector>

namespace corehost {

struct Finding {
    std::string path;    // the node's place, e.g. "rules[1].tree.children[0]"
    std::string message; // one line (UTF-8)
};

// The findings for one rule: its tree in document order, its "expect", then
// its "onlyIf" tree. `registered` are the
// names the plug-in registered (UTF-8): a name outside them is unknown, a
// registered name the catalog does not describe is checked no further.
// Without `useCatalog` (a plug-in the catalog does not describe) only the
// names are checked.
std::vector<Finding> checkRule(const Rule& rule, const std::vector<std::string>& registered,
                               bool useCatalog = true);

// The findings for plug-in settings (name, value; UTF-8) that the catalog's
// plug-in would skip: an unknown name or a value outside its set. The path of
// each finding is "--set NAME".
std::vector<Finding>
checkSettings(const std::vector<std::pair<std::string, std::string>>& settings);

} // namespace corehost
