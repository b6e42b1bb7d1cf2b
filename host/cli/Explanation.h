// An evaluated tree written out node by node with what each node gave, so
// that a rule's author sees which operand decided a result or which text an
// expression refused.
#pragma once

#include "eval/ExpressionTree.h"
#include "eval/NodeSpec.h"

#include <string>
#include <vector>

namespace corehost {

// One line per node in pre-order, indented two spaces per level, from the
// outcomes the tree (built from `root`) recorded in its last evaluation, each
// node with its properties in document order:
//   Parent = "false"
//     Child (key=version) = "2.10"
//   Operator not evaluated: children[1] failed
//   Later skipped (short circuit)
//   Switch = "b", took children[2] and children[3]
// Texts are escaped as in the text report; a list shows its first 20 values,
// then " and N more".
std::vector<std::string> explain(const ExpressionTree& tree, const NodeSpec& root);

// A rule with an "onlyIf": its condition under a line "onlyIf:", then the
// rule's tree under "tree:" when it was evaluated (`tree` not null), else
// "tree not evaluated: <why>" (`whyNotEvaluated`, such as `onlyIf gave
// "false"`). The trees are indented two more spaces.
std::vector<std::string> explainWithCondition(const ExpressionTree& condition,
                                              const NodeSpec& conditionRoot,
                                              const ExpressionTree* tree, const NodeSpec& root,
                                              const std::string& whyNotEvaluated);

} // namespace corehost
