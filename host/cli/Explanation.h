// An evaluated tree written out node by node with what each node gave, so
// that a rule's author sees which operand decided a result or which text an
// expression refused.
#pragma once

#include "eval/ExpressionTree.h"

#include <string>
#include <vector>

namespace corehost {

// One line per node in pre-order, indented two spaces per level, from the
// outcomes the tree recorded in its last evaluation:
//   Compare = "false"
//     ValueOf = "2.10"
//   And not evaluated: children[1] failed
//   Not skipped (short circuit)
// Texts are escaped as in the text report.
std::vector<std::string> explain(const ExpressionTree& tree);

} // namespace corehost
