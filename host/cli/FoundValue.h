// What a failed rule found, said in one short phrase from the comparison that
// decided its result: `FileMode /etc/shadow "0644" not within "0640"`,
// `KeyValue PASS_MAX_DAYS "99999" > "365"`. The host names no expression: it
// reads the shape of the tree from the plug-ins' descriptions (which
// operators combine truth values, which properties a node requires, which
// nodes are literals) and the values from the outcomes its last evaluation
// recorded.
#pragma once

#include "eval/Document.h"
#include "eval/ExpressionTree.h"

#include <string>
#include <vector>

namespace corehost {

// The nodes of `root` in pre-order, as ExpressionTree numbers them.
std::vector<const NodeSpec*> preorder(const NodeSpec& root);

// The node's properties as `name=value`, in document order, comma-separated
// and escaped; a literal's own value is left out (it is its result).
std::string describeProperties(const ExpressionTree& tree, std::size_t node, const NodeSpec& spec);

// The phrase for a rule whose tree (built from `root`, evaluated while
// recording outcomes) gave a result other than `expected`.
std::string describeFound(const ExpressionTree& tree, const NodeSpec& root,
                          const Expectation& expected);

} // namespace corehost
