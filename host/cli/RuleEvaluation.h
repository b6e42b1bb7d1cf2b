// One rule as eval takes it through: whether --rule or --tag chose it, its
// trees once built, and its evaluation (repeated and timed when asked).
#pragma once

#include "eval/Document.h"
#include "eval/ExpressionTree.h"

#include <memory>
#include <string>
#include <vector>

namespace corehost {

// What evaluating a rule `repeat` times gave: the last evaluation's code and
// whether the rule applied then, and the median time of one evaluation.
struct RuleRun {
    TErrorCode code = 0;
    bool applies = true;
    bool conditionFailed = false;
    long long medianNanoseconds = 0;
};

struct RuleEvaluation {
    const Document* document = nullptr;
    const Rule* rule = nullptr;
    bool selected = false;
    std::unique_ptr<ExpressionTree> tree;
    std::unique_ptr<ExpressionTree> condition; // the "onlyIf" tree, if the rule has one

    // Every rule of `documents`, in order, none selected yet.
    static std::vector<RuleEvaluation> of(const std::vector<Document>& documents);

    // Evaluates the "onlyIf" tree (when there is one) and, when that gives
    // "true", the rule's tree, `repeat` times; each timing covers both, so a
    // skipped rule is timed for its condition alone. The last evaluation
    // records what every node did, for explaining a result or a failure.
    RuleRun run(unsigned repeat);
};

// Marks the rules that `ids` or `tags` choose (every rule when both are
// empty). False with `error` saying so for an id no rule has or a tag no rule
// carries, with the closest one.
bool selectRules(const std::vector<std::string>& ids, const std::vector<std::string>& tags,
                 std::vector<RuleEvaluation>& rules, std::string& error);

} // namespace corehost
