// A JSON document read by corehost: one tree, or a list of rules each naming a tree.
#pragma once

#include "eval/NodeSpec.h"

#include <string>
#include <vector>

namespace corehost {

struct Rule {
    std::string id;   // empty for the tree of a single-tree document
    std::string path; // where the tree sits in the document: "" or "rules[1].tree"
    NodeSpec tree;
};

struct Document {
    bool isRuleList = false; // {"rules": [...]} rather than one tree
    std::vector<Rule> rules; // a single-tree document has exactly one rule
};

} // namespace corehost
