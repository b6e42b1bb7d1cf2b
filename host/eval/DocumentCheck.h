// The static check of a document's trees against the catalog of expressions:
// names, properties and their values, children and literal operands, without
// creating or evaluating anything.
#pragma once

#include "eval/Document.h"

#include <string>
#include <vector>

namespace corehost {

struct Finding {
    std::string path;    // the node's place, e.g. "rules[1].tree.children[0]"
    std::string message; // one line (UTF-8)
};

// The findings for one rule's tree, in document order. `registered` are the
// names the plug-in registered (UTF-8): a name outside them is unknown, a
// registered name the catalog does not describe is checked no further.
std::vector<Finding> checkRule(const Rule& rule, const std::vector<std::string>& registered);

} // namespace corehost
