// Checking trees against the descriptions of the loaded plug-ins: each node
// on its own, then with its children.
#include "eval/DocumentCheck.h"

#include "eval/DocumentReader.h"

#include "PluginKit/CommonCodes.h"
#include "eval/MessageText.h"
#include "eval/NameSuggestion.h"
#include "eval/TextConversion.h"
#include "eval/ValueRules.h"

#include <algorithm>
#include <iterator>

namespace corehost {

namespace {

using Outcome = PluginKit::LiteralReading::Outcome;

std::string childPath(const std::string& path, std::size_t index) {
    return (path.empty() ? "" : path + ".") + "children[" + std::to_string(index) + "]";
}

std::string children(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " child" : " children");
}

std::string withCode(TErrorCode code) {
    return code == 0 ? "" : " (" + std::to_string(code) + ")";
}

const std::wstring* findProperty(const NodeSpec& spec, const std::string& name) {
    const std::wstring wanted = fromUtf8(name);
    for (const auto& property : spec.properties)
        if (property.first == wanted)
            return &property.second;
    return nullptr;
}

class Checker {
public:
    explicit Checker(const PluginSet& plugins) : m_Plugins(plugins) {}

    void node(const NodeSpec& spec, const std::string& path);
    std::vector<Finding> take() { return std::move(m_Findings); }

    // The description of the node's expression, or null (an unknown name,
    // or a plug-in without description).
    const ExpressionDescription* describe(const NodeSpec& spec) const {
        return m_Plugins.describe(toUtf8(spec.name));
    }
    // What the node gives when nothing can make it a truth value: "a number
    // (NAME)", "the value \"yes\"" for a literal; empty when it may be one.
    std::string neverTruthResult(const NodeSpec& spec) const;

private:
    void add(std::string path, std::string message) {
        m_Findings.push_back(Finding{std::move(path), std::move(message)});
    }
    void arity(const ExpressionDescription& expression, const NodeSpec& spec,
               const std::string& path);
    void properties(const ExpressionDescription& expression, const NodeSpec& spec,
                    const std::string& path);
    void value(const ExpressionDescription& expression, const PropertyDescription& property,
               const std::string& name, const std::wstring& value, const std::string& path);
    void childKinds(const ExpressionDescription& expression, const NodeSpec& spec,
                    const std::string& path);
    // `type` is the literal type the operator reads its literal children as
    // (literalTypeOf), empty for none.
    void literals(const ExpressionDescription& expression, const NodeSpec& spec,
                  const std::string& type, const std::string& path);
    void truths(const ExpressionDescription& expression, const NodeSpec& spec,
                const std::string& type, const std::string& path);
    const std::vector<std::string>& registered();

    const PluginSet& m_Plugins;
    std::vector<std::string> m_Registered; // filled when a name is unknown
    std::vector<Finding> m_Findings;
};

const std::vector<std::string>& Checker::registered() {
    if (m_Registered.empty())
        for (const std::wstring& name : m_Plugins.names())
            m_Registered.push_back(toUtf8(name));
    return m_Registered;
}

// The literal type the operator reads its literal children as: fixed, or
// named by a property (when that names a type); empty for none.
std::string literalTypeOf(const ExpressionDescription& expression, const NodeSpec& spec) {
    std::string type = expression.literalType;
    if (!expression.literalTypeProperty.empty()) {
        const std::wstring* named = findProperty(spec, expression.literalTypeProperty);
        const PropertyDescription* property =
            expression.findProperty(expression.literalTypeProperty);
        if (named && property && acceptsValue(*property, *named))
            type = toUtf8(*named);
    }
    return type;
}

// The literal the node is, when it yields one of its properties as written.
const std::wstring* literalOf(const ExpressionDescription* expression, const NodeSpec& spec) {
    if (!expression || !expression->isLiteral())
        return nullptr;
    return findProperty(spec, expression->resultProperty);
}

std::string Checker::neverTruthResult(const NodeSpec& spec) const {
    const ExpressionDescription* expression = describe(spec);
    if (!expression)
        return std::string();
    if (expression->isLiteral()) {
        const std::wstring* value = literalOf(expression, spec);
        if (value && *value != L"true" && *value != L"false")
            return "the value " + quote(*value);
        return std::string();
    }
    if (!neverTruth(expression->result))
        return std::string();
    return describeResultText(expression->result) + std::string(" (") + expression->name + ")";
}

void Checker::node(const NodeSpec& spec, const std::string& path) {
    const std::wstring* registeredName = nullptr;
    const ExpressionDescription* expression = nullptr;
    if (!m_Plugins.owner(spec.name, &registeredName)) {
        const std::string name = toUtf8(spec.name);
        add(path,
            "unknown expression name " + quote(name) + didYouMean(suggestName(name, registered())));
    } else {
        expression = describe(spec);
    }
    if (expression) {
        if (!expression->isOperator && !spec.children.empty())
            add(path, "the operand " + quote(expression->name) + " cannot have children");
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

void Checker::arity(const ExpressionDescription& expression, const NodeSpec& spec,
                    const std::string& path) {
    const std::size_t count = spec.children.size();
    if (expression.minChildren == expression.maxChildren && count != expression.minChildren)
        add(path, expression.name + " takes exactly " + children(expression.minChildren) +
                      ", not " + std::to_string(count));
    else if (count < expression.minChildren)
        add(path, expression.name + " takes at least " + children(expression.minChildren) +
                      ", not " + std::to_string(count));
    else if (expression.maxChildren != kAnyNumber && count > expression.maxChildren)
        add(path, expression.name + " takes at most " + children(expression.maxChildren) +
                      ", not " + std::to_string(count));
    else if (expression.pairs && count % 2 == 1)
        add(path, expression.name + " takes condition/value pairs: the condition " +
                      childPath("", count - 1) + " has no value");
}

void Checker::value(const ExpressionDescription& expression, const PropertyDescription& property,
                    const std::string& name, const std::wstring& value, const std::string& path) {
    const PluginKit::LiteralReading reading = readLiteral(literalKindOf(property), value);
    std::string why;
    if (reading.outcome == Outcome::Prefix) {
        add(path, "property " + quote(name) + ": " + quote(value) + " reads as " + reading.value +
                      "; " + quote(reading.ignored) + " is ignored");
        return;
    }
    if (acceptsValue(property, value, &why))
        return;
    if (property.rule == ValueRule::Pattern || property.rule == ValueRule::GroupPattern) {
        add(path, "property " + quote(name) + " is not " + describeAccepted(property, false) +
                      ": " + quote(value) + ": " + why + withCode(property.invalidCode));
        return;
    }
    if (property.rule == ValueRule::Path) {
        add(path, "property " + quote(name) + " of " + expression.name +
                      " is one path, read literally: " + quote(value) + " holds " + quote(why) +
                      ", which is no glob there");
        return;
    }
    std::string outcome = withCode(refusalCode(property, reading));
    if (property.invalidCode == 0 && !property.otherwise.empty())
        outcome = "; " + std::string(property.otherwise);
    add(path, "property " + quote(name) + " must be " + describeAccepted(property, false) +
                  ", not " + quote(value) + outcome);
}

// "where \"syntax\" is \"systemd\"", "beside \"filter\"", ... : where the
// condition holds (`holds`) or does not.
std::string placeOf(const PropertyDescription::Condition& condition, bool holds) {
    const bool given = holds != condition.unless;
    if (condition.values.empty())
        return (given ? "beside " : "without ") + quote(condition.on);
    std::string values;
    for (std::size_t i = 0; i < condition.values.size(); ++i)
        values += (i == 0                             ? ""
                   : i + 1 == condition.values.size() ? " or "
                                                      : ", ") +
                  quote(condition.values[i]);
    return "where " + quote(condition.on) + (given ? " is " : " is not ") + values;
}

// Whether the property's condition holds for the node (true without one).
bool applies(const PropertyDescription::Condition& condition, const NodeSpec& spec) {
    if (condition.on.empty())
        return true;
    const std::wstring* on = findProperty(spec, condition.on);
    bool match = on != nullptr;
    if (on && !condition.values.empty())
        match = std::find(condition.values.begin(), condition.values.end(), toUtf8(*on)) !=
                condition.values.end();
    return match != condition.unless;
}

// The number a numbered property's name holds (0 for none, or too large).
unsigned long long fieldNumberOf(const PropertyDescription& property, const std::string& name) {
    if (!property.numbered)
        return 0;
    const std::size_t at = property.name.find('N');
    const std::size_t tail = property.name.size() - at - 1;
    unsigned long long number = 0;
    if (!readDigits(std::string_view(name).substr(at, name.size() - at - tail), number))
        return ~0ULL;
    return number;
}

void Checker::properties(const ExpressionDescription& expression, const NodeSpec& spec,
                         const std::string& path) {
    for (const PropertyDescription& property : expression.properties) {
        if (property.isPattern())
            continue;
        const std::wstring* given = findProperty(spec, property.name);
        const PropertyDescription::Condition& condition = property.condition;
        const bool holds = applies(condition, spec);
        if (!given && property.missingCode != 0)
            add(path, "missing property " + quote(property.name) + " (" + expression.name +
                          " fails with " + std::to_string(property.missingCode) + ")");
        else if (!given && holds && condition.requiredCode != 0)
            add(path, "missing property " + quote(property.name) + " " + placeOf(condition, true) +
                          " (" + expression.name + " fails with " +
                          std::to_string(condition.requiredCode) + ")");
        if (given && !holds && condition.refusedCode != 0 &&
            (condition.onlyValue.empty() || *given == fromUtf8(condition.onlyValue))) {
            add(path, "property " + quote(property.name) +
                          (condition.onlyValue.empty() ? "" : " " + quote(condition.onlyValue)) +
                          " is refused " + placeOf(condition, false) +
                          withCode(condition.refusedCode));
            continue;
        }
        if (given)
            value(expression, property, property.name, *given, path);
    }
    // Names that a pattern ("fN.equals", "FIELD.matches") stands for are checked here.
    std::vector<std::string> known;
    for (const auto& attached : spec.properties) {
        const std::string name = toUtf8(attached.first);
        const PropertyDescription* property = expression.findProperty(name);
        if (property && property->isPattern()) {
            const unsigned long long field = fieldNumberOf(*property, name);
            const PropertyDescription::Condition& condition = property->condition;
            if (condition.refusedCode != 0 && !applies(condition, spec))
                add(path, "property " + quote(name) + " is refused " + placeOf(condition, false) +
                              withCode(condition.refusedCode));
            else if (property->numberedMost != 0 && field > property->numberedMost)
                add(path, "property " + quote(name) + " names field " + std::to_string(field) +
                              ", beyond the last one, " + std::to_string(property->numberedMost));
            else
                value(expression, *property, name, attached.second, path);
            continue;
        }
        if (property)
            continue;
        if (known.empty())
            for (const PropertyDescription& candidate : expression.properties)
                known.push_back(candidate.name);
        add(path, "unknown property " + quote(name) + " of " + expression.name +
                      didYouMean(suggestName(name, known)));
    }
}

void Checker::childKinds(const ExpressionDescription& expression, const NodeSpec& spec,
                         const std::string& path) {
    if (expression.children != ChildKinds::Scalar && expression.children != ChildKinds::Vector)
        return;
    const bool wantsVector = expression.children == ChildKinds::Vector;
    for (std::size_t i = 0; i < spec.children.size(); ++i) {
        const ExpressionDescription* child = describe(spec.children[i]);
        if (child && child->vector != wantsVector)
            add(childPath(path, i), std::string(child->vector ? "a vector" : "a scalar") +
                                        " result (" + child->name + ") where " + expression.name +
                                        " takes " + (wantsVector ? "vector" : "scalar") +
                                        " results only" + withCode(PluginKit::kNotSupported));
    }
}

void Checker::literals(const ExpressionDescription& expression, const NodeSpec& spec,
                       const std::string& type, const std::string& path) {
    if (type.empty())
        return;
    const PluginKit::LiteralKind kind = literalKindNamed(type);
    for (std::size_t i = 0; i < spec.children.size(); ++i) {
        const std::wstring* value = literalOf(describe(spec.children[i]), spec.children[i]);
        if (!value)
            continue;
        const PluginKit::LiteralReading reading = readLiteral(kind, *value);
        if (reading.outcome == Outcome::Prefix)
            add(childPath(path, i), "the value " + quote(*value) + " reads as " + reading.value +
                                        " for " + type + ", as " + expression.name + " reads it; " +
                                        quote(reading.ignored) + " is ignored");
        else if (reading.outcome == Outcome::Refused)
            add(childPath(path, i), "the value " + quote(*value) + " cannot be read as " + type +
                                        ", as " + expression.name + " reads it" +
                                        withCode(expression.literalRefusal(type)));
    }
}

// Whether the operator reads its child at `position` as a truth value, when
// its literal type is `type`.
bool takesTruthAt(const ExpressionDescription& expression, const std::string& type,
                  std::size_t position) {
    if (PluginKit::readsTruth(literalKindNamed(type)))
        return true;
    switch (expression.truthChildren) {
    case TruthChildren::None:
        break;
    case TruthChildren::Every:
        return true;
    case TruthChildren::Conditions:
        return position % 2 == 0;
    }
    return false;
}

void Checker::truths(const ExpressionDescription& expression, const NodeSpec& spec,
                     const std::string& type, const std::string& path) {
    // A typed operator refuses a child its type cannot read with its literal
    // code; the others with their own.
    const TErrorCode refusal =
        type.empty() ? expression.notTruthCode : expression.literalRefusal(type);
    for (std::size_t i = 0; i < spec.children.size(); ++i) {
        const NodeSpec& child = spec.children[i];
        const ExpressionDescription* childDescription = describe(child);
        // A vector child is told as such; a literal one, read as the
        // operator's literal type, by literals().
        if (!childDescription || childDescription->vector || !takesTruthAt(expression, type, i) ||
            (!type.empty() && childDescription->isLiteral()))
            continue;
        const std::string result = neverTruthResult(child);
        if (!result.empty())
            add(childPath(path, i),
                result + " where " + expression.name + (type.empty() ? "" : " of type " + type) +
                    " takes a truth value (fails with " + std::to_string(refusal) + ")");
    }
}

// What a rule's "expect" can never equal: a truth value of a tree that never
// gives one, or another text of a tree that gives only truth values.
void checkExpectation(const Rule& rule, const ExpressionDescription& root,
                      std::vector<Finding>& out) {
    if (!rule.expect || rule.expect->isList || root.vector)
        return;
    const std::string& value = rule.expect->values.front();
    const bool truth = value == "true" || value == "false";
    if (truth && neverTruth(root.result))
        out.push_back(Finding{rule.path, "\"expect\" is " + quote(value) + ", but " + root.name +
                                             " yields " + describeResultText(root.result) +
                                             ", never a truth value"});
    else if (!truth && root.result == ResultText::Truth)
        out.push_back(Finding{rule.path, "\"expect\" is " + quote(value) + ", but " + root.name +
                                             " yields \"true\" or \"false\""});
}

} // namespace

std::vector<Finding> checkRule(const Rule& rule, const PluginSet& plugins) {
    Checker checker(plugins);
    checker.node(rule.tree, rule.path);
    std::vector<Finding> findings = checker.take();
    const ExpressionDescription* root = checker.describe(rule.tree);
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
    const std::string never = checker.neverTruthResult(*rule.onlyIf);
    if (!never.empty())
        findings.push_back(
            Finding{rule.onlyIfPath, never + " is never \"true\": the rule is always skipped"});
    Checker condition(plugins);
    condition.node(*rule.onlyIf, rule.onlyIfPath);
    std::vector<Finding> more = condition.take();
    findings.insert(findings.end(), std::make_move_iterator(more.begin()),
                    std::make_move_iterator(more.end()));
    return findings;
}

std::vector<DocumentFinding> checkDocument(const Document& document, const PluginSet& plugins) {
    std::vector<DocumentFinding> all;
    for (const Rule& rule : document.rules) {
        const std::string label =
            document.isRuleList ? "rule " + quote(rule.id) + ": " : std::string();
        for (Finding& finding : checkRule(rule, plugins))
            all.push_back(DocumentFinding{document.source, label, std::move(finding)});
    }
    return all;
}

std::vector<Finding> checkSettings(const std::vector<Setting>& given, const PluginSet& plugins) {
    std::vector<Finding> findings;
    if (!plugins.undescribed().empty())
        return findings; // a plug-in without a description may take any setting
    std::vector<std::string> names;
    for (const std::shared_ptr<PluginModule>& module : plugins.modules())
        for (const SettingDescription& setting : module->description()->settings)
            names.push_back(setting.name);
    for (const Setting& entry : given) {
        const std::string path = "--set " + entry.name;
        const SettingDescription* known = nullptr;
        for (const std::shared_ptr<PluginModule>& module : plugins.modules())
            if (entry.plugin.empty() || entry.plugin == module->name())
                if (const SettingDescription* found =
                        module->description()->findSetting(entry.name))
                    known = known ? known : found;
        if (!known) {
            findings.push_back(Finding{path, "unknown setting " + quote(entry.name) +
                                                 didYouMean(suggestName(entry.name, names))});
            continue;
        }
        if (known->values.empty() || std::find(known->values.begin(), known->values.end(),
                                               entry.value) != known->values.end())
            continue;
        PropertyDescription rule;
        rule.rule = ValueRule::OneOf;
        rule.values = known->values;
        findings.push_back(Finding{path, "setting " + quote(entry.name) + " must be " +
                                             describeAccepted(rule, false) + ", not " +
                                             quote(entry.value) + " (the plug-in skips it)"});
    }
    return findings;
}

std::string formatFinding(const DocumentFinding& finding) {
    return escapeText(finding.source) + ": " + finding.rule + describePath(finding.finding.path) +
           ": " + finding.finding.message;
}

std::string moreFindings(std::size_t omitted) {
    return "... and " + std::to_string(omitted) +
           (omitted == 1 ? " more finding" : " more findings");
}

std::string formatFinding(const Finding& finding) {
    return escapeText(finding.path) + ": " + finding.message;
}

std::string undescribedNote(const PluginSet& plugins) {
    std::string names;
    for (const PluginModule* module : plugins.undescribed())
        names += (names.empty() ? "" : ", ") + module->name() + " (" +
                 descriptionPathOf(module->path()) + ")";
    if (names.empty())
        return std::string();
    return "note: no description of " + names + ": its trees are checked for expression names only";
}

} // namespace corehost
