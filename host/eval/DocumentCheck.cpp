// Checking trees against the catalog: each node on its own, then with its
// children.
#include "eval/DocumentCheck.h"

#include "eval/Catalog.h"
#include "eval/LiteralReading.h"
#include "eval/MessageText.h"
#include "eval/NameSuggestion.h"
#include "eval/TextConversion.h"

#include <algorithm>
#include <iterator>

namespace corehost {

namespace {

std::string childPath(const std::string& path, std::size_t index) {
    return (path.empty() ? "" : path + ".") + "children[" + std::to_string(index) + "]";
}

std::string children(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " child" : " children");
}

std::string withCode(TErrorCode code) {
    return code == 0 ? "" : " (" + std::to_string(code) + ")";
}

// What evaluation does with a value outside a fixed set that it takes without
// a code.
std::string outcomeOfOther(const PropertySpec& property) {
    const std::string name = property.name;
    if (name == "position")
        return "; it searches anywhere";
    if (name == "ifEmpty")
        return "; empty results are left out";
    if (property.values.size() == 2 && std::string(property.values[0]) == "true")
        return "; it reads as false";
    return std::string();
}

class Checker {
public:
    Checker(const std::vector<std::string>& registered, bool useCatalog)
        : m_Registered(registered), m_UseCatalog(useCatalog) {}

    void node(const NodeSpec& spec, const std::string& path);
    std::vector<Finding> take() { return std::move(m_Findings); }

private:
    void add(std::string path, std::string message) {
        m_Findings.push_back(Finding{std::move(path), std::move(message)});
    }
    void arity(const ExpressionSpec& expression, const NodeSpec& spec, const std::string& path);
    void properties(const ExpressionSpec& expression, const NodeSpec& spec,
                    const std::string& path);
    void childKinds(const ExpressionSpec& expression, const NodeSpec& spec,
                    const std::string& path);
    // `type` is the literal type the operator reads its literal children as
    // (literalTypeOf), empty for none.
    void literals(const ExpressionSpec& expression, const NodeSpec& spec, const std::string& type,
                  const std::string& path);
    void truths(const ExpressionSpec& expression, const NodeSpec& spec, const std::string& type,
                const std::string& path);

    const std::vector<std::string>& m_Registered;
    bool m_UseCatalog;
    std::vector<Finding> m_Findings;
};

const std::wstring* findProperty(const NodeSpec& spec, const char* name) {
    const std::wstring wanted = fromUtf8(name);
    for (const auto& property : spec.properties)
        if (property.first == wanted)
            return &property.second;
    return nullptr;
}

// The literal type the operator reads its literal children as: fixed, or
// named by a property (when that names a type); empty for none.
std::string literalTypeOf(const ExpressionSpec& expression, const NodeSpec& spec) {
    std::string type = expression.literalType ? expression.literalType : "";
    if (expression.literalTypeProperty) {
        const std::wstring* named = findProperty(spec, expression.literalTypeProperty);
        const PropertySpec* property = nullptr;
        for (const PropertySpec& candidate : expression.properties)
            if (std::string(candidate.name) == expression.literalTypeProperty)
                property = &candidate;
        if (named && property && acceptsValue(*property, toUtf8(*named)))
            type = toUtf8(*named);
    }
    return type;
}

// What the node gives when nothing can make it a truth value: "a number
// (Count)", "the value \"yes\"" for a literal; empty when it may be one.
std::string neverTruthResult(const NodeSpec& spec) {
    const ExpressionSpec* expression = findExpression(toUtf8(spec.name));
    if (!expression)
        return std::string();
    if (spec.name == L"ValueOf") {
        const std::wstring* value = findProperty(spec, "value");
        if (value && *value != L"true" && *value != L"false")
            return "the value " + quote(*value);
        return std::string();
    }
    if (!neverTruth(expression->resultText))
        return std::string();
    return describeResultText(expression->resultText) + std::string(" (") + expression->name + ")";
}

void Checker::node(const NodeSpec& spec, const std::string& path) {
    const std::string name = toUtf8(spec.name);
    const ExpressionSpec* expression = nullptr;
    if (std::find(m_Registered.begin(), m_Registered.end(), name) == m_Registered.end())
        add(path,
            "unknown expression name " + quote(name) + didYouMean(suggestName(name, m_Registered)));
    else if (m_UseCatalog)
        expression = findExpression(name);
    if (expression) {
        if (!expression->isOperator && !spec.children.empty())
            add(path, "the operand " + quote(name) + " cannot have children");
        else
            arity(*expression, spec, path);
        properties(*expression, spec, path);
    }
    // What is found about a child as this operator reads it is told with the
    // child's own findings, in document order.
    std::vector<Finding> aboutChildren;
    if (expression) {
        const std::size_t first = m_Findings.size();
        childKinds(*expression, spec, path);
        const std::string type = literalTypeOf(*expression, spec);
        literals(*expression, spec, type, path);
        truths(*expression, spec, type, path);
        aboutChildren.assign(std::make_move_iterator(m_Findings.begin() + first),
                             std::make_move_iterator(m_Findings.end()));
        m_Findings.resize(first);
    }
    for (std::size_t i = 0; i < spec.children.size(); ++i) {
        const std::string child = childPath(path, i);
        for (Finding& finding : aboutChildren)
            if (finding.path == child)
                m_Findings.push_back(std::move(finding));
        node(spec.children[i], child);
    }
}

void Checker::arity(const ExpressionSpec& expression, const NodeSpec& spec,
                    const std::string& path) {
    const std::size_t count = spec.children.size();
    const std::string name = expression.name;
    if (expression.minChildren == expression.maxChildren && count != expression.minChildren)
        add(path, name + " takes exactly " + children(expression.minChildren) + ", not " +
                      std::to_string(count));
    else if (expression.pairs && count % 2 == 1)
        add(path, name + " takes condition/value pairs: the condition " + childPath("", count - 1) +
                      " has no value");
}

void Checker::properties(const ExpressionSpec& expression, const NodeSpec& spec,
                         const std::string& path) {
    std::vector<std::string> known;
    for (const PropertySpec& property : expression.properties) {
        known.emplace_back(property.name);
        if (property.numberedName)
            continue;
        const std::wstring* value = findProperty(spec, property.name);
        if (!value && property.missingCode != 0)
            add(path, "missing property " + quote(std::string(property.name)) + " (" +
                          expression.name + " fails with " + std::to_string(property.missingCode) +
                          ")");
        if (!value)
            continue;
        const std::string text = toUtf8(*value);
        const LiteralReading reading = readLiteral(literalKindOf(property), text);
        if (reading.outcome == LiteralReading::Outcome::Prefix)
            add(path, "property " + quote(std::string(property.name)) + ": " + quote(text) +
                          " reads as " + reading.value + "; " + quote(reading.ignored) +
                          " is ignored");
        else if (!acceptsValue(property, text))
            add(path, "property " + quote(std::string(property.name)) + " must be " +
                          describeAccepted(property, false) + ", not " + quote(*value) +
                          (property.invalidCode == 0 && property.rule == ValueRule::OneOf
                               ? outcomeOfOther(property)
                               : withCode(refusalCode(property, reading))));
    }
    // Names that a numbered name ("fN.equals") stands for are checked here.
    for (const auto& property : spec.properties) {
        const std::string name = toUtf8(property.first);
        const PropertySpec* knownSpec = findPropertySpec(expression, name);
        if (!knownSpec)
            add(path, "unknown property " + quote(name) + " of " + expression.name +
                          didYouMean(suggestName(name, known)));
        else if (knownSpec->numberedName && !acceptsValue(*knownSpec, toUtf8(property.second)))
            add(path, "property " + quote(name) + " must be " +
                          describeAccepted(*knownSpec, false) + ", not " + quote(property.second) +
                          withCode(knownSpec->invalidCode));
    }
}

void Checker::childKinds(const ExpressionSpec& expression, const NodeSpec& spec,
                         const std::string& path) {
    if (expression.children != ChildKinds::Scalar && expression.children != ChildKinds::Vector)
        return;
    const bool wantsVector = expression.children == ChildKinds::Vector;
    for (std::size_t i = 0; i < spec.children.size(); ++i) {
        const ExpressionSpec* child = findExpression(toUtf8(spec.children[i].name));
        if (child && child->vector != wantsVector)
            add(childPath(path, i), std::string(child->vector ? "a vector" : "a scalar") +
                                        " result (" + child->name + ") where " + expression.name +
                                        " takes " + (wantsVector ? "vector" : "scalar") +
                                        " results only (-102)");
    }
}

void Checker::literals(const ExpressionSpec& expression, const NodeSpec& spec,
                       const std::string& type, const std::string& path) {
    if (type.empty())
        return;
    for (std::size_t i = 0; i < spec.children.size(); ++i) {
        const NodeSpec& child = spec.children[i];
        const std::wstring* value = findProperty(child, "value");
        if (child.name != L"ValueOf" || !value)
            continue;
        const LiteralReading reading = readLiteral(literalKindOf(type), toUtf8(*value));
        if (reading.outcome == LiteralReading::Outcome::Prefix)
            add(childPath(path, i), "the value " + quote(*value) + " reads as " + reading.value +
                                        " for " + type + ", as " + expression.name + " reads it; " +
                                        quote(reading.ignored) + " is ignored");
        else if (reading.outcome == LiteralReading::Outcome::Refused)
            add(childPath(path, i), "the value " + quote(*value) + " cannot be read as " + type +
                                        ", as " + expression.name + " reads it" +
                                        withCode(literalRefusalCode(expression, type)));
    }
}

void Checker::truths(const ExpressionSpec& expression, const NodeSpec& spec,
                     const std::string& type, const std::string& path) {
    for (std::size_t i = 0; i < spec.children.size(); ++i) {
        const NodeSpec& child = spec.children[i];
        const ExpressionSpec* childSpec = findExpression(toUtf8(child.name));
        // A vector child is told as such; a literal one, read as the
        // operator's literal type, by literals().
        if (!childSpec || childSpec->vector || !takesTruthAt(expression, type, i) ||
            (!type.empty() && child.name == L"ValueOf"))
            continue;
        const std::string result = neverTruthResult(child);
        if (!result.empty())
            add(childPath(path, i), result + " where " + expression.name +
                                        (type.empty() ? "" : " of type " + type) +
                                        " takes a truth value (fails with " +
                                        std::to_string(truthRefusalCode(expression, type)) + ")");
    }
}

// What a rule's "expect" can never equal: a truth value of a tree that never
// gives one, or another text of a tree that gives only truth values.
void checkExpectation(const Rule& rule, const ExpressionSpec& root, std::vector<Finding>& out) {
    if (!rule.expect || rule.expect->isList || root.vector)
        return;
    const std::string& value = rule.expect->values.front();
    const bool truth = value == "true" || value == "false";
    if (truth && neverTruth(root.resultText))
        out.push_back(Finding{rule.path, "\"expect\" is " + quote(value) + ", but " + root.name +
                                             " yields " + describeResultText(root.resultText) +
                                             ", never a truth value"});
    else if (!truth && root.resultText == ResultText::Truth)
        out.push_back(Finding{rule.path, "\"expect\" is " + quote(value) + ", but " + root.name +
                                             " yields \"true\" or \"false\""});
}

} // namespace

std::vector<Finding> checkRule(const Rule& rule, const std::vector<std::string>& registered,
                               bool useCatalog) {
    Checker checker(registered, useCatalog);
    checker.node(rule.tree, rule.path);
    std::vector<Finding> findings = checker.take();
    const ExpressionSpec* root = useCatalog ? findExpression(toUtf8(rule.tree.name)) : nullptr;
    if (rule.expect && root && rule.expect->isList != root->vector)
        findings.push_back(Finding{
            rule.path, std::string("\"expect\" holds ") +
                           (rule.expect->isList ? "a list of texts" : "one text") + ", but " +
                           root->name + " yields " + (root->vector ? "a list" : "one text")});
    if (root)
        checkExpectation(rule, *root, findings);
    if (!rule.onlyIf)
        return findings;
    // The condition is checked like any tree; a root that is never "true"
    // skips the rule always.
    const std::string never = useCatalog ? neverTruthResult(*rule.onlyIf) : std::string();
    if (!never.empty())
        findings.push_back(
            Finding{rule.onlyIfPath, never + " is never \"true\": the rule is always skipped"});
    Checker condition(registered, useCatalog);
    condition.node(*rule.onlyIf, rule.onlyIfPath);
    std::vector<Finding> more = condition.take();
    findings.insert(findings.end(), std::make_move_iterator(more.begin()),
                    std::make_move_iterator(more.end()));
    return findings;
}

std::vector<Finding> checkSettings(const std::vector<std::pair<std::string, std::string>>& given) {
    std::vector<Finding> findings;
    std::vector<std::string> names;
    for (const SettingSpec& setting : settings())
        names.emplace_back(setting.name);
    for (const auto& entry : given) {
        const std::string path = "--set " + entry.first;
        const SettingSpec* known = nullptr;
        for (const SettingSpec& setting : settings())
            if (entry.first == setting.name)
                known = &setting;
        if (!known) {
            findings.push_back(Finding{path, "unknown setting " + quote(entry.first) +
                                                 didYouMean(suggestName(entry.first, names))});
            continue;
        }
        if (known->values.empty() || std::find(known->values.begin(), known->values.end(),
                                               entry.second) != known->values.end())
            continue;
        PropertySpec rule{known->name, 0, ValueRule::OneOf, known->values, 0, nullptr};
        findings.push_back(Finding{path, "setting " + quote(entry.first) + " must be " +
                                             describeAccepted(rule, false) + ", not " +
                                             quote(entry.second) + " (the plug-in skips it)"});
    }
    return findings;
}

} // namespace corehost
