// Checking trees against the catalog: each node on its own, then with its
// children.
#include "eval/DocumentCheck.h"

#include "eval/Catalog.h"
#include "eval/MessageText.h"
#include "eval/NameSuggestion.h"
#include "eval/TextConversion.h"

#include <algorithm>

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

class Checker {
public:
    explicit Checker(const std::vector<std::string>& registered) : m_Registered(registered) {}

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
    void literals(const ExpressionSpec& expression, const NodeSpec& spec, const std::string& path);

    const std::vector<std::string>& m_Registered;
    std::vector<Finding> m_Findings;
};

const std::wstring* findProperty(const NodeSpec& spec, const char* name) {
    const std::wstring wanted = fromUtf8(name);
    for (const auto& property : spec.properties)
        if (property.first == wanted)
            return &property.second;
    return nullptr;
}

void Checker::node(const NodeSpec& spec, const std::string& path) {
    const std::string name = toUtf8(spec.name);
    const ExpressionSpec* expression = nullptr;
    if (std::find(m_Registered.begin(), m_Registered.end(), name) == m_Registered.end())
        add(path,
            "unknown expression name " + quote(name) + didYouMean(suggestName(name, m_Registered)));
    else
        expression = findExpression(name);
    if (expression) {
        if (!expression->isOperator && !spec.children.empty())
            add(path, "the operand " + quote(name) + " cannot have children");
        else
            arity(*expression, spec, path);
        properties(*expression, spec, path);
        childKinds(*expression, spec, path);
        literals(*expression, spec, path);
    }
    for (std::size_t i = 0; i < spec.children.size(); ++i)
        node(spec.children[i], childPath(path, i));
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
        if (value && !acceptsValue(property, toUtf8(*value)))
            add(path, "property " + quote(std::string(property.name)) + " must be " +
                          describeAccepted(property, false) + ", not " + quote(*value) +
                          withCode(property.invalidCode));
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
                       const std::string& path) {
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
    if (type.empty())
        return;
    for (std::size_t i = 0; i < spec.children.size(); ++i) {
        const NodeSpec& child = spec.children[i];
        const std::wstring* value = findProperty(child, "value");
        if (child.name == L"ValueOf" && value && !readsAs(type, toUtf8(*value)))
            add(childPath(path, i), "the value " + quote(*value) + " cannot be read as " + type +
                                        ", as " + expression.name + " reads it");
    }
}

} // namespace

std::vector<Finding> checkRule(const Rule& rule, const std::vector<std::string>& registered) {
    Checker checker(registered);
    checker.node(rule.tree, rule.path);
    std::vector<Finding> findings = checker.take();
    const ExpressionSpec* root = findExpression(toUtf8(rule.tree.name));
    if (rule.expect && root && rule.expect->isList != root->vector)
        findings.push_back(Finding{
            rule.path, std::string("\"expect\" holds ") +
                           (rule.expect->isList ? "a list of texts" : "one text") + ", but " +
                           root->name + " yields " + (root->vector ? "a list" : "one text")});
    return findings;
}

} // namespace corehost
