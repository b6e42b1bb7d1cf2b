// The phrase of a failed rule, from the recorded outcomes of its tree.
#include "cli/FoundValue.h"

#include "cli/Report.h"
#include "eval/MessageText.h"
#include "eval/TextConversion.h"

#include <cstring>

namespace corehost {

namespace {

constexpr std::size_t kPropertyCharacters = 60; // of a property value
constexpr std::size_t kValueCharacters = 100;   // of a result text
constexpr std::size_t kListItems = 5;           // of a list result
constexpr std::size_t kMostParts = 3;           // comparisons in one phrase
constexpr std::size_t kMostDepth = 3;           // "Count(Select ...)" nesting

// The relations comparisons take, with their signs and their negations.
struct Relation {
    const char* name;
    const char* sign;
    const char* negated;
};
constexpr Relation kRelations[] = {{"eq", "==", "!="}, {"ne", "!=", "=="}, {"lt", "<", ">="},
                                   {"le", "<=", ">"},  {"gt", ">", "<="},  {"ge", ">=", "<"}};

const Relation* findRelation(const std::string& name) {
    for (const Relation& relation : kRelations)
        if (name == relation.name)
            return &relation;
    return nullptr;
}

std::string cut(std::string text, std::size_t limit) {
    if (cutText(text, limit))
        text += "...";
    return text;
}

const ExpressionDescription* describedAs(const ExpressionTree& tree, std::size_t node) {
    const PluginDescription* description = tree.nodeModule(node).description();
    return description ? description->findExpression(toUtf8(tree.nodeName(node))) : nullptr;
}

// The property a literal yields as its result, or empty.
std::string literalProperty(const ExpressionDescription* description) {
    return description && description->isLiteral() ? description->resultProperty : std::string();
}

class Phrase {
public:
    Phrase(const ExpressionTree& tree, const NodeSpec& root)
        : m_Tree(tree), m_Specs(preorder(root)) {
        m_Sizes.assign(m_Specs.size(), 1);
        for (std::size_t node = m_Specs.size(); node-- > 0;) {
            std::size_t child = node + 1;
            for (std::size_t i = 0; i < m_Specs[node]->children.size(); ++i) {
                m_Sizes[node] += m_Sizes[child];
                child += m_Sizes[child];
            }
        }
    }

    bool succeeded(std::size_t node) const {
        return m_Tree.outcome(node).state == NodeOutcome::State::Succeeded;
    }

    // Whether the node is an operator that yields a truth value: a
    // comparison, or an operator over truth values.
    bool decides(std::size_t node) const {
        const ExpressionDescription* description = describedAs(m_Tree, node);
        return description && m_Tree.childCount(node) > 0 &&
               (description->truthChildren == TruthChildren::Every ||
                description->result == ResultText::Truth);
    }

    // The comparisons that gave the node's truth value, each as a phrase.
    void decide(std::size_t node, std::vector<std::string>& parts) const {
        if (!succeeded(node))
            return;
        const ExpressionDescription* description = describedAs(m_Tree, node);
        if (!description || m_Tree.childCount(node) == 0) {
            parts.push_back(operand(node, 0));
            return;
        }
        if (description->truthChildren != TruthChildren::Every) {
            parts.push_back(comparison(node));
            return;
        }
        // And and Or give the value of the children that decided them; Not
        // gives the other one: then its child decided.
        std::vector<std::size_t> evaluated;
        std::vector<std::size_t> alike;
        for (std::size_t child : children(node))
            if (succeeded(child)) {
                evaluated.push_back(child);
                if (m_Tree.outcome(child).values == m_Tree.outcome(node).values)
                    alike.push_back(child);
            }
        for (std::size_t child : alike.empty() ? evaluated : alike)
            decide(child, parts);
    }

    // `Subject props "value"`, or the quoted value alone for a literal.
    std::string operand(std::size_t node, std::size_t depth) const {
        const std::string value = valueText(node);
        if (!literalProperty(describedAs(m_Tree, node)).empty())
            return value;
        return subject(node, depth) + ' ' + value;
    }

    std::string valueText(std::size_t node) const {
        const NodeOutcome& outcome = m_Tree.outcome(node);
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < outcome.values.size() && i < kListItems; ++i)
            texts.push_back(cut(toUtf8(outcome.values[i]), kValueCharacters));
        if (m_Tree.nodeType(node) != PluginSDK::VECTOR_EXPRESSION)
            return quoteText(texts.empty() ? std::string() : texts.front());
        std::string list = quoteList(texts);
        if (outcome.values.size() > kListItems) {
            list.pop_back();
            list += ", ... " + std::to_string(outcome.values.size()) + " values]";
        }
        return list;
    }

    // The node's name and what tells it apart: its required properties (but
    // those taking one of a set of values, such as a relation), else its
    // other properties; without either, the first child's subject.
    std::string subject(std::size_t node, std::size_t depth) const {
        std::string text = escapeText(toUtf8(m_Tree.nodeName(node)));
        const std::vector<std::string> values = identifying(node);
        for (const std::string& value : values)
            text += ' ' + escapeText(value);
        if (values.empty() && m_Tree.childCount(node) > 0 && depth < kMostDepth)
            text += '(' + subject(node + 1, depth + 1) + ')';
        return text;
    }

    std::vector<std::string> identifying(std::size_t node) const {
        const ExpressionDescription* description = describedAs(m_Tree, node);
        const std::string literal = literalProperty(description);
        std::vector<std::string> required;
        std::vector<std::string> others;
        for (const auto& property : m_Specs[node]->properties) {
            const std::string name = toUtf8(property.first);
            const PropertyDescription* row =
                description ? description->findProperty(name) : nullptr;
            if (name == literal || (row && row->rule == ValueRule::OneOf))
                continue;
            const std::string value = cut(toUtf8(property.second), kPropertyCharacters);
            (row && row->missingCode != 0 ? required : others).push_back(value);
        }
        return required.empty() ? others : required;
    }

    // `first relation second`: the relation the node was given, as it held
    // or failed, or else the operator's name ("ModeWithin": "within").
    std::string comparison(std::size_t node) const {
        const bool holds = !m_Tree.outcome(node).values.empty() &&
                           toUtf8(m_Tree.outcome(node).values.front()) == "true";
        std::string relation;
        for (const auto& property : m_Specs[node]->properties)
            if (const Relation* known = findRelation(toUtf8(property.second))) {
                relation = holds ? known->sign : known->negated;
                break;
            }
        if (relation.empty())
            relation = (holds ? "" : "not ") + verb(toUtf8(m_Tree.nodeName(node)));
        std::vector<std::string> sides;
        for (std::size_t child : children(node))
            if (succeeded(child))
                sides.push_back(operand(child, 0));
        if (sides.empty())
            return operand(node, 0);
        std::string text = sides.front() + ' ' + relation;
        if (sides.size() == 1) // compared with the operator's own properties
            for (const std::string& value : identifying(node))
                text += ' ' + quoteText(value);
        for (std::size_t i = 1; i < sides.size(); ++i)
            text += (i == 1 ? " " : ", ") + sides[i];
        return text;
    }

    // The words of a name after its first, in lower case: "ModeWithin":
    // "within", "VectorContains": "contains"; a one-word name as it is.
    static std::string verb(const std::string& name) {
        std::string words;
        std::size_t start = std::string::npos;
        for (std::size_t i = 1; i < name.size(); ++i)
            if (name[i] >= 'A' && name[i] <= 'Z') {
                start = i;
                break;
            }
        if (start == std::string::npos)
            return escapeText(name);
        for (std::size_t i = start; i < name.size(); ++i) {
            const char c = name[i];
            if (c >= 'A' && c <= 'Z') {
                if (i != start)
                    words += ' ';
                words += static_cast<char>(c - 'A' + 'a');
            } else {
                words += c;
            }
        }
        return escapeText(words);
    }

    std::vector<std::size_t> children(std::size_t node) const {
        std::vector<std::size_t> positions;
        std::size_t child = node + 1;
        for (std::size_t i = 0; i < m_Tree.childCount(node); ++i) {
            positions.push_back(child);
            child += m_Sizes[child];
        }
        return positions;
    }

private:
    const ExpressionTree& m_Tree;
    std::vector<const NodeSpec*> m_Specs;
    std::vector<std::size_t> m_Sizes; // of each node's subtree
};

void collect(const NodeSpec& spec, std::vector<const NodeSpec*>& specs) {
    specs.push_back(&spec);
    for (const NodeSpec& child : spec.children)
        collect(child, specs);
}

} // namespace

std::vector<const NodeSpec*> preorder(const NodeSpec& root) {
    std::vector<const NodeSpec*> specs;
    collect(root, specs);
    return specs;
}

std::string describeProperties(const ExpressionTree& tree, std::size_t node, const NodeSpec& spec) {
    const std::string literal = literalProperty(describedAs(tree, node));
    std::string text;
    for (const auto& property : spec.properties) {
        const std::string name = toUtf8(property.first);
        if (name == literal)
            continue;
        text += (text.empty() ? "" : ", ") + escapeText(name) + '=' +
                escapeText(cut(toUtf8(property.second), kPropertyCharacters));
    }
    return text;
}

std::string describeFound(const ExpressionTree& tree, const NodeSpec& root,
                          const Expectation& expected) {
    const Phrase phrase(tree, root);
    if (tree.size() != preorder(root).size() || !phrase.succeeded(0))
        return std::string();
    if (!expected.isList && phrase.decides(0)) {
        std::vector<std::string> parts;
        phrase.decide(0, parts);
        if (!parts.empty()) {
            std::string text;
            for (std::size_t i = 0; i < parts.size() && i < kMostParts; ++i)
                text += (i == 0 ? "" : "; ") + parts[i];
            if (parts.size() > kMostParts)
                text += "; and " + std::to_string(parts.size() - kMostParts) + " more";
            return text;
        }
    }
    return phrase.operand(0, 0) + " != " + describeExpected(expected);
}

} // namespace corehost
