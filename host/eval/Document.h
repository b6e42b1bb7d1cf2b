// A JSON document read by corehost: one tree, or a list of rules each naming a
// tree, with what a rule expects of its result and what describes it.
#pragma once

#include "eval/NodeSpec.h"

#include <optional>
#include <string>
#include <vector>

namespace corehost {

// What a rule's result must equal: one text for a scalar result, or the list
// of texts for a vector result (UTF-8).
struct Expectation {
    bool isList = false;
    std::vector<std::string> values; // exactly one value when !isList
};

struct Rule {
    std::string id;   // empty for the tree of a single-tree document
    std::string path; // where the tree sits in the document: "" or "rules[1].tree"
    NodeSpec tree;
    // A tree evaluated first: unless its result is "true" the rule does not
    // apply and is skipped. `onlyIfPath` is where it sits: "rules[1].onlyIf".
    std::optional<NodeSpec> onlyIf;
    std::string onlyIfPath;

    // Optional, all UTF-8; absent keys leave them empty.
    std::optional<Expectation> expect;
    std::string title;
    std::string description;
    std::string severity; // "info", "low", "medium", "high" or "critical" when given
    std::vector<std::string> tags;
};

struct Document {
    std::string source;      // the file name, "<stdin>" or "<inline>", for messages and reports
    bool isRuleList = false; // {"rules": [...]} rather than one tree
    std::vector<Rule> rules; // a single-tree document has exactly one rule
};

} // namespace corehost
