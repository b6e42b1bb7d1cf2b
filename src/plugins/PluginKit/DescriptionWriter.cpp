// The description file of a plug-in, written from its rows.
#include "PluginKit/DescriptionWriter.h"

#include "base/Utf8.h"

#include <cwchar>
#include <string>

namespace PluginKit {

namespace {

std::string utf8(const wchar_t* text) {
    std::string bytes;
    if (text)
        base::encodeUtf8(text, std::wcslen(text), bytes, true);
    return bytes;
}

// One field: its tabs, line breaks and backslashes escaped.
std::string field(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\r':
            escaped += "\\r";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string field(const char* text) {
    return field(std::string(text ? text : ""));
}

std::string field(const wchar_t* text) {
    return field(utf8(text));
}

class Record {
public:
    Record(std::ostream& out, const char* keyword) : m_Out(out) { m_Out << keyword; }
    ~Record() { m_Out << '\n'; }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

    template <typename T> Record& operator<<(const T& value) {
        m_Out << '\t' << field(value);
        return *this;
    }
    Record& operator<<(TErrorCode code) {
        m_Out << '\t' << code;
        return *this;
    }
    Record& operator<<(std::size_t count) {
        m_Out << '\t' << count;
        return *this;
    }

private:
    std::ostream& m_Out;
};

void writeValues(std::ostream& out, Values values) {
    for (const wchar_t* value : values)
        Record(out, "value") << value;
}

void writeProperty(std::ostream& out, const PropertyInfo& property) {
    Record(out, "property") << property.name << property.missingCode << valueRuleName(property.rule)
                            << property.invalidCode << property.note;
    writeValues(out, property.values);
    if (property.otherwise)
        Record(out, "otherwise") << property.otherwise;
    if (property.beyondCode != 0)
        Record(out, "beyond") << property.beyondCode;
    if (property.lookAroundHint)
        Record(out, "look-around") << property.lookAroundHint;
    if (property.shape)
        Record(out, "shape") << property.shape;
    if (property.most != 0)
        Record(out, "most") << std::to_string(property.most);
    const Condition& condition = property.condition;
    if (condition.on) {
        Record(out, "applies") << condition.on << (condition.unless ? "unless" : "when")
                               << condition.requiredCode << condition.refusedCode
                               << condition.onlyValue;
        for (const wchar_t* value : condition.values)
            Record(out, "applies-value") << value;
    }
    if (property.numbered) {
        Record numbered(out, "numbered");
        if (property.numberedMost != 0)
            numbered << std::to_string(property.numberedMost);
    }
    if (property.placeholder) {
        Record(out, "placeholder") << property.placeholder;
        for (const wchar_t* part : property.nameParts)
            Record(out, "name-part") << part;
    }
}

void writeExpression(std::ostream& out, const ExpressionInfo& expression) {
    Record(out, "expression") << expression.name << kindName(expression)
                              << resultTextName(expression.result) << expression.summary;
    if (expression.isOperator) {
        Record children(out, "children");
        children << childKindsName(expression.children) << expression.minChildren;
        if (expression.maxChildren == kAnyNumber)
            children << "*";
        else
            children << expression.maxChildren;
    }
    if (expression.pairs)
        Record(out, "pairs");
    if (expression.truthChildren != TruthChildren::None)
        Record(out, "truth") << truthChildrenName(expression.truthChildren)
                             << expression.notTruthCode;
    const LiteralInfo& literal = expression.literal;
    if (literal.type || literal.typeProperty) {
        Record(out, "literal") << literal.type << literal.typeProperty << literal.refusedCode;
        for (const LiteralRefusal& refusal : literal.refusedByType)
            Record(out, "literal-refusal") << refusal.type << refusal.code;
    }
    if (expression.resultProperty)
        Record(out, "result-property") << expression.resultProperty;
    for (const PropertyInfo& property : expression.properties)
        writeProperty(out, property);
}

} // namespace

const char* kindName(const ExpressionInfo& expression) {
    if (expression.vector)
        return expression.isOperator ? "vector operator" : "vector operand";
    return expression.isOperator ? "scalar operator" : "scalar operand";
}

const char* resultTextName(ResultText text) {
    switch (text) {
    case ResultText::Any:
        return "any";
    case ResultText::Truth:
        return "truth value";
    case ResultText::Number:
        return "number";
    case ResultText::HexDigest:
        return "hex digest";
    case ResultText::OctalMode:
        return "octal mode";
    case ResultText::Path:
        return "path";
    case ResultText::List:
        return "list";
    case ResultText::Property:
        return "property";
    }
    return "any";
}

const char* childKindsName(ChildKinds kinds) {
    switch (kinds) {
    case ChildKinds::None:
        return "none";
    case ChildKinds::Scalar:
        return "scalar";
    case ChildKinds::ScalarOrVector:
        return "scalar or vector";
    case ChildKinds::Vector:
        return "vector";
    }
    return "none";
}

const char* truthChildrenName(TruthChildren which) {
    switch (which) {
    case TruthChildren::None:
        return "none";
    case TruthChildren::Every:
        return "every";
    case TruthChildren::Conditions:
        return "conditions";
    }
    return "none";
}

const char* valueRuleName(ValueRule rule) {
    switch (rule) {
    case ValueRule::Text:
        return "text";
    case ValueRule::OneOf:
        return "one of";
    case ValueRule::Number:
        return "number";
    case ValueRule::NumberOrEmpty:
        return "number or empty";
    case ValueRule::CountOrEmpty:
        return "count or empty";
    case ValueRule::Position:
        return "position";
    case ValueRule::Character:
        return "character";
    case ValueRule::Count:
        return "count";
    case ValueRule::Pattern:
        return "pattern";
    case ValueRule::GroupPattern:
        return "pattern with a group";
    case ValueRule::Path:
        return "path";
    case ValueRule::Paths:
        return "paths";
    case ValueRule::Ordinal:
        return "ordinal";
    case ValueRule::NonEmpty:
        return "non-empty text";
    case ValueRule::Shaped:
        return "shaped";
    }
    return "text";
}

bool writeDescription(std::ostream& out, const PluginSDK::Plugin& plugin,
                      const std::vector<const ExpressionInfo*>& expressions, const PluginInfo& info,
                      std::ostream& error) {
    const std::vector<std::wstring>& names = plugin.getExpressionNames();
    bool same = names.size() == expressions.size();
    for (std::size_t i = 0; same && i < names.size(); ++i)
        same = names[i] == expressions[i]->name;
    if (!same) {
        error << utf8(plugin.getName()) << " registers other names than its rows describe\n";
        return false;
    }
    const PluginSDK::PluginVersion version = plugin.getVersion();
    out << "corehost-plugin-description\t1\n";
    Record(out, "plugin") << plugin.getName()
                          << std::to_string(version.major) + "." + std::to_string(version.minor) +
                                 "." + std::to_string(version.build) + "." +
                                 std::to_string(version.revision);
    for (const SettingInfo& setting : info.settings) {
        Record(out, "setting") << setting.name << setting.defaultValue << setting.note;
        writeValues(out, setting.values);
    }
    for (const ResultCodeInfo& code : info.codes)
        Record(out, "code") << code.code << code.name << code.meaning;
    for (const ExpressionInfo* expression : expressions)
        writeExpression(out, *expression);
    return static_cast<bool>(out);
}

} // namespace PluginKit
