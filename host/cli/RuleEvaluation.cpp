// Selecting rules and evaluating one.
#include "cli/RuleEvaluation.h"

#include "cli/TimeSample.h"
#include "eval/MessageText.h"
#include "eval/NameSuggestion.h"
#include "eval/TextConversion.h"

#include <chrono>
#include <set>

namespace corehost {

namespace {

using Clock = std::chrono::steady_clock;

// Whether a rule's "onlyIf" tree, evaluated without a failure, lets the rule
// apply: only the scalar result "true" does.
bool conditionHolds(const ExpressionTree& condition) {
    return condition.type() == PluginSDK::SCALAR_EXPRESSION &&
           toUtf8(condition.scalarResult().str()) == "true";
}

} // namespace

std::vector<RuleEvaluation> RuleEvaluation::of(const std::vector<Document>& documents) {
    std::vector<RuleEvaluation> rules;
    for (const Document& document : documents)
        for (const Rule& rule : document.rules) {
            rules.emplace_back();
            rules.back().document = &document;
            rules.back().rule = &rule;
        }
    return rules;
}

RuleRun RuleEvaluation::run(unsigned repeat) {
    TimeSample sample;
    RuleRun result;
    for (unsigned i = 0; i < repeat; ++i) {
        const bool record = i + 1 == repeat;
        const Clock::time_point start = Clock::now();
        result.applies = true;
        result.conditionFailed = false;
        if (condition) {
            condition->recordOutcomes(record);
            result.code = condition->evaluate();
            result.conditionFailed = result.code != 0;
            result.applies = !result.conditionFailed && conditionHolds(*condition);
        }
        if (result.applies) {
            tree->recordOutcomes(record);
            result.code = tree->evaluate();
        }
        sample.add(
            std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count());
    }
    if (condition)
        condition->recordOutcomes(false);
    tree->recordOutcomes(false);
    result.medianNanoseconds = sample.median();
    return result;
}

bool selectRules(const std::vector<std::string>& ids, const std::vector<std::string>& tags,
                 std::vector<RuleEvaluation>& rules, std::string& error) {
    const bool all = ids.empty() && tags.empty();
    const std::set<std::string> wantedIds(ids.begin(), ids.end());
    const std::set<std::string> wantedTags(tags.begin(), tags.end());
    std::set<std::string> idsFound;
    std::set<std::string> tagsFound;
    // Every id and tag of the documents, for a hint at a misspelt one.
    std::vector<std::string> allIds;
    std::set<std::string> allTags;
    for (RuleEvaluation& entry : rules) {
        const Rule& rule = *entry.rule;
        if (!rule.id.empty())
            allIds.push_back(rule.id);
        allTags.insert(rule.tags.begin(), rule.tags.end());
        entry.selected = all;
        if (!rule.id.empty() && wantedIds.count(rule.id) != 0) {
            idsFound.insert(rule.id);
            entry.selected = true;
        }
        for (const std::string& tag : rule.tags)
            if (wantedTags.count(tag) != 0) {
                tagsFound.insert(tag);
                entry.selected = true;
            }
    }
    for (const std::string& id : wantedIds)
        if (idsFound.count(id) == 0) {
            error = "--rule " + quoteText(id) + ": no rule has this id" +
                    didYouMean(suggestName(id, allIds));
            return false;
        }
    for (const std::string& tag : wantedTags)
        if (tagsFound.count(tag) == 0) {
            error = "--tag " + quoteText(tag) + ": no rule carries this tag" +
                    didYouMean(suggestName(tag, {allTags.begin(), allTags.end()}));
            return false;
        }
    return true;
}

} // namespace corehost
