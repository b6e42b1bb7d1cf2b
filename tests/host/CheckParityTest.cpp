// `check` against evaluation, for every property of every expression the
// loaded plug-ins describe: a value (or a combination of properties) that
// check refuses with a code is one the node, created in the real plug-in,
// fails with that code; one check lets pass is one no property check of the
// node refuses. The properties come from the descriptions, so a property added
// later is covered without touching this file.
#include "eval/DocumentCheck.h"
#include "eval/ExpressionTree.h"
#include "eval/PluginSet.h"
#include "eval/TextConversion.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

#include <algorithm>
#include <regex>
#include <set>
#include <string>
#include <vector>

using namespace corehost;

namespace {

// A value the rule accepts.
std::wstring sampleOf(const PropertyDescription& property) {
    switch (property.rule) {
    case ValueRule::OneOf:
        return fromUtf8(property.values.front());
    case ValueRule::Number:
    case ValueRule::NumberOrEmpty:
    case ValueRule::CountOrEmpty:
    case ValueRule::Position:
    case ValueRule::Count:
    case ValueRule::Ordinal:
        return L"1";
    case ValueRule::Character:
        return L":";
    case ValueRule::Pattern:
    case ValueRule::GroupPattern:
        return L"(a)";
    case ValueRule::Path:
    case ValueRule::Paths:
        return L"/nonexistent/parity";
    case ValueRule::Text:
    case ValueRule::NonEmpty:
    case ValueRule::Shaped: // the shapes of names all take a plain word
        break;
    }
    return L"abc";
}

// The property's name with its placeholder or field number filled in.
std::string concreteName(const PropertyDescription& property, const char* number = "1") {
    std::string name = property.name;
    if (property.numbered)
        name.replace(name.find('N'), 1, number);
    else if (!property.placeholder.empty())
        name.replace(name.find(property.placeholder), property.placeholder.size(),
                     property.nameParts.front());
    return name;
}

// A child of each kind the operator takes: a truth value where it takes one.
NodeSpec childFor(const ExpressionDescription& expression) {
    const bool truth = expression.truthChildren != TruthChildren::None;
    NodeSpec value{L"ValueOf", {{L"value", truth ? L"true" : L"1"}}, {}};
    if (expression.children != ChildKinds::Vector)
        return value;
    return NodeSpec{L"Vector", {}, {value}};
}

// Every code a property row of `expression` names.
std::set<TErrorCode> staticCodes(const ExpressionDescription& expression) {
    std::set<TErrorCode> codes;
    for (const PropertyDescription& property : expression.properties)
        for (TErrorCode code : {property.missingCode, property.invalidCode,
                                property.condition.requiredCode, property.condition.refusedCode})
            if (code != 0)
                codes.insert(code);
    return codes;
}

struct Verdict {
    std::vector<std::string> messages;
    std::set<TErrorCode> codes; // the codes the findings name
};

Verdict checked(const NodeSpec& spec, const PluginSet& plugins) {
    Rule rule;
    rule.tree = spec;
    Verdict verdict;
    static const std::regex code(R"(\((-\d+)\)|fails with (-\d+))");
    for (const Finding& finding : checkRule(rule, plugins)) {
        if (finding.path != "")
            return Verdict{{"a child: " + finding.message}, {}}; // not about properties
        verdict.messages.push_back(finding.message);
        for (std::sregex_iterator it(finding.message.begin(), finding.message.end(), code), end;
             it != end; ++it)
            verdict.codes.insert(std::stoi((*it)[1].matched ? (*it)[1] : (*it)[2]));
    }
    return verdict;
}

TErrorCode evaluated(const NodeSpec& spec, const std::shared_ptr<PluginSet>& plugins) {
    BuildError error;
    std::unique_ptr<ExpressionTree> tree = ExpressionTree::build(plugins, spec, "", error);
    EXPECT_TRUE(tree) << error.describe();
    if (!tree)
        return 0;
    const TErrorCode code = tree->evaluate();
    return code != 0 && tree->failure().node == 0 ? code : 0;
}

std::string shown(const NodeSpec& spec) {
    std::string text = toUtf8(spec.name) + " {";
    for (const auto& property : spec.properties)
        text += " " + toUtf8(property.first) + "=\"" + toUtf8(property.second) + "\"";
    return text + " }";
}

// What check does not model: a code evaluation gives for one property's value
// measured against another's text, against the child, or against the machine;
// with `property`, only where the node has that property.
struct Unmodelled {
    const char* expression;
    TErrorCode code;
    const wchar_t* property = nullptr;
};
constexpr Unmodelled kUnmodelled[] = {
    {"Clip", -11039},       // an index beyond "inputString", or "startIndex" after "endIndex"
    {"FileSearch", -12001}, // no roots: neither "absolutePath", "localMounts" nor a child
    // names of accounts, looked up on the machine that evaluates
    {"FileSearch", -12002, L"owner"},
    {"FileSearch", -12002, L"group"},
    {"FileSearch", -12002, L"notOwner"},
    {"FileSearch", -12002, L"notGroup"},
};

bool unmodelled(const ExpressionDescription& expression, TErrorCode code, const NodeSpec& spec) {
    for (const Unmodelled& entry : kUnmodelled)
        if (expression.name == entry.expression && code == entry.code &&
            (!entry.property ||
             std::any_of(spec.properties.begin(), spec.properties.end(),
                         [&](const auto& p) { return p.first == entry.property; })))
            return true;
    return false;
}

} // namespace

TEST(CheckParity, CheckAndEvaluationGiveTheSameVerdictForEveryProperty) {
    std::string error;
    std::shared_ptr<PluginSet> plugins =
        PluginSet::load({COREPLUGIN_MODULE_PATH, SYSTEMPLUGIN_MODULE_PATH}, error);
    ASSERT_TRUE(plugins) << error;
    // An empty package database: the codes of the package expressions do not depend on what
    // is installed, and listing every installed file costs seconds a node.
    testsupport::TempDir dpkg;
    dpkg.write("status", "");
    ASSERT_TRUE(plugins->applySettings({{"", "dpkgAdminDir", dpkg.path()}}, error)) << error;
    std::set<std::string> seen;
    const std::vector<std::wstring> hostile = {
        L"",   L"x",    L"-1", L"0", L"1.5", L"65",   L"99999999999999999999",
        L" 1", L"a..b", L"(x", L"*", L"a/b", L"/abs", L"true"};
    std::size_t compared = 0;
    for (const std::shared_ptr<PluginModule>& module : plugins->modules()) {
        // The codes of the plug-in's property checks: evaluation failing with
        // one where check says nothing is a disagreement.
        std::set<TErrorCode> codes;
        for (const ExpressionDescription& expression : module->description()->expressions) {
            const std::set<TErrorCode> more = staticCodes(expression);
            codes.insert(more.begin(), more.end());
        }
        for (const ExpressionDescription& expression : module->description()->expressions) {
            NodeSpec base{fromUtf8(expression.name), {}, {}};
            for (const PropertyDescription& property : expression.properties)
                if (property.missingCode != 0 ||
                    (property.condition.unless && property.condition.requiredCode != 0))
                    base.properties.emplace_back(fromUtf8(property.name), sampleOf(property));
            if (expression.isOperator) {
                // An optional lone child is one way to give the operator its input,
                // which properties may give instead: it is tested without it.
                const bool optionalChild =
                    expression.minChildren == 0 && expression.maxChildren == 1;
                std::size_t count =
                    optionalChild ? 0 : std::max<std::size_t>(expression.minChildren, 1);
                count = std::min(count + (expression.pairs ? 1 : 0), expression.maxChildren);
                base.children.assign(count, childFor(expression));
            }
            std::vector<NodeSpec> variants{base};
            for (const PropertyDescription& property : expression.properties) {
                const std::wstring name = fromUtf8(concreteName(property));
                const auto with = [&](const NodeSpec& from, const std::wstring& key,
                                      const std::wstring& value) {
                    NodeSpec spec = from;
                    auto found = std::find_if(spec.properties.begin(), spec.properties.end(),
                                              [&](const auto& p) { return p.first == key; });
                    if (found != spec.properties.end())
                        found->second = value;
                    else
                        spec.properties.emplace_back(key, value);
                    return spec;
                };
                // Without it, and with each hostile value.
                NodeSpec without = base;
                without.properties.erase(
                    std::remove_if(without.properties.begin(), without.properties.end(),
                                   [&](const auto& p) { return p.first == name; }),
                    without.properties.end());
                variants.push_back(without);
                variants.push_back(with(base, name, sampleOf(property)));
                for (const std::wstring& value : hostile)
                    variants.push_back(with(base, name, value));
                for (const PropertyDescription& value : expression.properties)
                    for (const std::string& choice : value.values)
                        variants.push_back(with(base, name, fromUtf8(choice)));
                // Beside each other property, and beside each value of a listed one.
                for (const PropertyDescription& other : expression.properties) {
                    const std::wstring otherName = fromUtf8(concreteName(other));
                    if (otherName == name)
                        continue;
                    const NodeSpec both =
                        with(with(base, name, sampleOf(property)), otherName, sampleOf(other));
                    variants.push_back(both);
                    for (const std::string& choice : other.values)
                        variants.push_back(with(with(base, name, sampleOf(property)), otherName,
                                                fromUtf8(choice)));
                }
            }
            // A field number beyond the ones a numbered name stands for.
            for (const PropertyDescription& property : expression.properties)
                if (property.numbered)
                    for (const char* number : {"0", "64", "65", "01", "99999999999999999999"}) {
                        variants.push_back(base);
                        variants.back().properties.emplace_back(
                            fromUtf8(concreteName(property, number)), sampleOf(property));
                    }
            for (const NodeSpec& spec : variants) {
                const Verdict verdict = checked(spec, *plugins);
                if (!verdict.messages.empty() && verdict.messages.front().rfind("a child", 0) == 0)
                    continue;
                // The same properties in another order are the same node: evaluated
                // once (a search of every local file system is seconds under the
                // sanitizers).
                NodeSpec sorted = spec;
                std::sort(sorted.properties.begin(), sorted.properties.end());
                if (!seen.insert(shown(sorted) + std::to_string(spec.children.size())).second)
                    continue;
                const TErrorCode code = evaluated(spec, plugins);
                ++compared;
                if (!verdict.codes.empty()) {
                    EXPECT_TRUE(verdict.codes.count(code) || unmodelled(expression, code, spec))
                        << shown(spec) << ": check says "
                        << ::testing::PrintToString(verdict.messages) << ", evaluation " << code;
                } else if (verdict.messages.empty() && codes.count(code) &&
                           !unmodelled(expression, code, spec)) {
                    ADD_FAILURE() << shown(spec) << ": check says "
                                  << ::testing::PrintToString(verdict.messages)
                                  << ", evaluation fails with " << code;
                }
            }
        }
    }
    EXPECT_GT(compared, 1000u);
}
