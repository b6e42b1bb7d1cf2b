// Reading a plug-in's description file, and lookups in what it holds.
#include "eval/PluginDescription.h"

#include "PluginKit/DescriptionWriter.h"
#include "eval/MessageText.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace corehost {

namespace {

constexpr const char* kFormat = "corehost-plugin-description";
constexpr const char* kFormatVersion = "1";
// A description of hundreds of expressions is tens of kilobytes.
constexpr std::size_t kMaxDescriptionBytes = 4u << 20;

// The enumerations by the names the file gives them, as the plug-ins' writer
// names them.
template <typename Enum, std::size_t N>
bool enumNamed(std::string_view name, const Enum (&all)[N], const char* (*nameOf)(Enum),
               Enum& value) {
    for (Enum candidate : all)
        if (name == nameOf(candidate)) {
            value = candidate;
            return true;
        }
    return false;
}

constexpr ValueRule kRules[] = {
    ValueRule::Text,          ValueRule::OneOf,        ValueRule::Number,
    ValueRule::NumberOrEmpty, ValueRule::CountOrEmpty, ValueRule::Position,
    ValueRule::Character,     ValueRule::Count,        ValueRule::Pattern,
    ValueRule::GroupPattern,  ValueRule::Path,         ValueRule::Paths,
    ValueRule::Ordinal,       ValueRule::NonEmpty,     ValueRule::Shaped};
constexpr ResultText kResults[] = {ResultText::Any,       ResultText::Truth,     ResultText::Number,
                                   ResultText::HexDigest, ResultText::OctalMode, ResultText::Path,
                                   ResultText::List,      ResultText::Property};
constexpr ChildKinds kChildKinds[] = {ChildKinds::Scalar, ChildKinds::ScalarOrVector,
                                      ChildKinds::Vector};
constexpr TruthChildren kTruthChildren[] = {TruthChildren::Every, TruthChildren::Conditions};

// The fields of one line, read in place: each field is unescaped where it
// stands and ended with a NUL (over its tab or line end), so that a view of it
// is also a C string. No record has more than kMost fields; a line with more
// is counted whole and refused by the record's check.
class Fields {
public:
    static constexpr std::size_t kMost = 8;

    // The line [begin, end), where *end is its line end. False for an escape
    // the format has not.
    bool split(char* begin, char* end) {
        m_Count = 0;
        for (char* start = begin;;) {
            char* tab =
                static_cast<char*>(std::memchr(start, '\t', static_cast<std::size_t>(end - start)));
            char* stop = tab ? tab : end;
            char* written = unescape(start, stop);
            if (!written)
                return false;
            *written = '\0';
            if (m_Count < kMost)
                m_Views[m_Count] =
                    std::string_view(start, static_cast<std::size_t>(written - start));
            ++m_Count;
            if (!tab)
                return true;
            start = tab + 1;
        }
    }
    std::size_t size() const { return m_Count; }
    std::string_view operator[](std::size_t index) const { return m_Views[index]; }
    std::string text(std::size_t index) const { return std::string(m_Views[index]); }

private:
    // Unescapes [begin, end) in place; where the text ends, or null.
    static char* unescape(char* begin, char* end) {
        // Most fields hold no backslash and stay as they are.
        char* in =
            static_cast<char*>(std::memchr(begin, '\\', static_cast<std::size_t>(end - begin)));
        if (!in)
            return end;
        char* out = in;
        for (; in < end; ++in) {
            if (*in != '\\') {
                *out++ = *in;
                continue;
            }
            if (++in == end)
                return nullptr;
            switch (*in) {
            case '\\':
                *out++ = '\\';
                break;
            case 't':
                *out++ = '\t';
                break;
            case 'n':
                *out++ = '\n';
                break;
            case 'r':
                *out++ = '\r';
                break;
            default:
                return nullptr;
            }
        }
        return out;
    }

    std::array<std::string_view, kMost> m_Views{};
    std::size_t m_Count = 0;
};

class Reader {
public:
    Reader(const std::string& source, std::string& error) : m_Source(source), m_Error(error) {}

    // Reads `text`, which the description keeps and reads in place.
    std::shared_ptr<const PluginDescription> read(std::string text);

private:
    bool fail(const std::string& message) {
        m_Error = m_Source + ":" + std::to_string(m_Line) + ": " + message;
        return false;
    }
    bool record(const Fields& fields);
    bool expression(const Fields& fields);
    bool ofExpression(const Fields& fields);
    bool ofProperty(const Fields& fields);
    bool expect(const Fields& fields, std::size_t count);
    bool code(std::string_view text, TErrorCode& value);
    bool count(std::string_view text, std::size_t& value);
    bool finish();

    const std::string& m_Source;
    std::string& m_Error;
    std::size_t m_Line = 0;
    std::shared_ptr<PluginDescription> m_Description;
    ExpressionDescription* m_Expression = nullptr;
    PropertyDescription* m_Property = nullptr;
    SettingDescription* m_Setting = nullptr;
};

bool Reader::expect(const Fields& fields, std::size_t count) {
    if (fields.size() == count)
        return true;
    return fail(quote(fields.text(0)) + " takes " + std::to_string(count - 1) +
                (count == 2 ? " field" : " fields") + ", not " + std::to_string(fields.size() - 1));
}

bool Reader::code(std::string_view text, TErrorCode& value) {
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view digits = text.substr(negative ? 1 : 0);
    unsigned long magnitude = 0;
    bool valid = !digits.empty() && digits.size() <= 18;
    for (std::size_t i = 0; valid && i < digits.size(); ++i) {
        valid = digits[i] >= '0' && digits[i] <= '9';
        magnitude = magnitude * 10 + static_cast<unsigned long>(digits[i] - '0');
    }
    if (!valid)
        return fail("not a result code: " + quote(std::string(text)));
    value = negative ? -static_cast<TErrorCode>(magnitude) : static_cast<TErrorCode>(magnitude);
    return true;
}

bool Reader::count(std::string_view text, std::size_t& value) {
    if (text == "*") {
        value = kAnyNumber;
        return true;
    }
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != text.npos)
        return fail("not a number of children: " + quote(std::string(text)));
    value = 0;
    for (const char digit : text)
        value = value * 10 + static_cast<std::size_t>(digit - '0');
    return true;
}

bool Reader::record(const Fields& fields) {
    const std::string_view keyword = fields[0];
    if (keyword == "setting") {
        if (!expect(fields, 4))
            return false;
        m_Description->settings.push_back(
            SettingDescription{fields.text(1), fields[2], fields[3], {}});
        m_Setting = &m_Description->settings.back();
        m_Expression = nullptr;
        m_Property = nullptr;
        return true;
    }
    if (keyword == "code") {
        CodeDescription entry;
        if (!expect(fields, 4) || !code(fields[1], entry.code))
            return false;
        entry.name = fields[2];
        entry.meaning = fields[3];
        m_Description->codes.push_back(entry);
        return true;
    }
    if (keyword == "expression")
        return expression(fields);
    if (keyword == "value") {
        if (!expect(fields, 2))
            return false;
        if (m_Property)
            m_Property->values.push_back(fields.text(1));
        else if (m_Setting)
            m_Setting->values.push_back(fields.text(1));
        else
            return fail("a value belongs to a property or a setting, and none came before");
        return true;
    }
    if (keyword == "otherwise" || keyword == "beyond" || keyword == "numbered" ||
        keyword == "look-around" || keyword == "placeholder" || keyword == "name-part" ||
        keyword == "most" || keyword == "applies" || keyword == "applies-value" ||
        keyword == "shape")
        return ofProperty(fields);
    return ofExpression(fields);
}

bool Reader::expression(const Fields& fields) {
    ExpressionDescription expression;
    if (!expect(fields, 5))
        return false;
    expression.name = fields.text(1);
    const std::string_view kind = fields[2];
    if (kind != "scalar operand" && kind != "scalar operator" && kind != "vector operand" &&
        kind != "vector operator")
        return fail("unknown kind of expression " + quote(std::string(kind)));
    expression.vector = kind.substr(0, 6) == "vector";
    expression.isOperator = kind.find("operator") != std::string_view::npos;
    if (!enumNamed(fields[3], kResults, &PluginKit::resultTextName, expression.result))
        return fail("unknown kind of result " + quote(fields.text(3)));
    if ((expression.result == ResultText::List) != expression.vector)
        return fail("a list is the result of vector expressions, and only of them");
    if (expression.name.empty())
        return fail("an expression without a name");
    expression.summary = fields[4];
    expression.properties.reserve(8);
    m_Description->expressions.push_back(std::move(expression));
    m_Expression = &m_Description->expressions.back();
    m_Property = nullptr;
    m_Setting = nullptr;
    return true;
}

bool Reader::ofExpression(const Fields& fields) {
    const std::string_view keyword = fields[0];
    const bool known = keyword == "children" || keyword == "pairs" || keyword == "truth" ||
                       keyword == "literal" || keyword == "literal-refusal" ||
                       keyword == "result-property" || keyword == "property";
    if (!known)
        return fail("unknown record " + quote(fields.text(0)));
    if (!m_Expression)
        return fail("this record belongs to an expression, and none came before");
    ExpressionDescription& expression = *m_Expression;
    if (keyword == "children") {
        if (!expect(fields, 4))
            return false;
        if (!expression.isOperator)
            return fail("the operand " + quote(expression.name) + " has children");
        if (!enumNamed(fields[1], kChildKinds, &PluginKit::childKindsName, expression.children))
            return fail("unknown kind of children " + quote(fields.text(1)));
        if (!count(fields[2], expression.minChildren) || !count(fields[3], expression.maxChildren))
            return false;
        if (expression.minChildren == kAnyNumber || expression.minChildren > expression.maxChildren)
            return fail("the least number of children is above the most");
        return true;
    }
    if (keyword == "pairs") {
        expression.pairs = true;
        return expect(fields, 1);
    }
    if (keyword == "truth") {
        if (!expect(fields, 3) || !code(fields[2], expression.notTruthCode))
            return false;
        if (!enumNamed(fields[1], kTruthChildren, &PluginKit::truthChildrenName,
                       expression.truthChildren))
            return fail("unknown choice of truth-valued children " + quote(fields.text(1)));
        return true;
    }
    if (keyword == "literal") {
        if (!expect(fields, 4) || !code(fields[3], expression.literalRefusedCode))
            return false;
        expression.literalType = fields.text(1);
        expression.literalTypeProperty = fields.text(2);
        if (fields[1].empty() == fields[2].empty())
            return fail("a literal record names a type or a property, one of the two");
        return true;
    }
    if (keyword == "literal-refusal") {
        TErrorCode refusal = 0;
        if (!expect(fields, 3) || !code(fields[2], refusal))
            return false;
        expression.literalRefusals.emplace_back(fields.text(1), refusal);
        return true;
    }
    if (keyword == "result-property") {
        if (!expect(fields, 2))
            return false;
        if (expression.result != ResultText::Property)
            return fail("only a result of kind \"property\" names its property");
        expression.resultProperty = fields.text(1);
        return true;
    }
    // "property"
    PropertyDescription property;
    if (!expect(fields, 6) || !code(fields[2], property.missingCode) ||
        !code(fields[4], property.invalidCode))
        return false;
    property.name = fields.text(1);
    if (property.name.empty() || expression.findProperty(property.name))
        return fail("the property " + quote(property.name) + " of " + expression.name +
                    " is described twice");
    if (!enumNamed(fields[3], kRules, &PluginKit::valueRuleName, property.rule))
        return fail("unknown rule " + quote(fields.text(3)));
    property.note = fields[5];
    expression.properties.push_back(std::move(property));
    m_Property = &expression.properties.back();
    return true;
}

bool Reader::ofProperty(const Fields& fields) {
    if (!m_Property)
        return fail("this record belongs to a property, and none came before");
    const std::string_view keyword = fields[0];
    if (keyword == "otherwise" || keyword == "look-around") {
        if (!expect(fields, 2))
            return false;
        (keyword == "otherwise" ? m_Property->otherwise : m_Property->lookAroundHint) = fields[1];
        return true;
    }
    if (keyword == "beyond")
        return expect(fields, 2) && code(fields[1], m_Property->beyondCode);
    if (keyword == "placeholder") {
        if (!expect(fields, 2))
            return false;
        m_Property->placeholder = fields.text(1);
        if (m_Property->placeholder.empty() ||
            m_Property->name.find(m_Property->placeholder) == std::string::npos)
            return fail("a placeholder stands in the property's name");
        return true;
    }
    if (keyword == "name-part") {
        if (!expect(fields, 2))
            return false;
        if (m_Property->placeholder.empty())
            return fail("a name part follows a placeholder");
        m_Property->nameParts.push_back(fields.text(1));
        return true;
    }
    if (keyword == "shape") {
        if (!expect(fields, 2))
            return false;
        m_Property->shape = fields.text(1);
        return true;
    }
    if (keyword == "most") {
        if (!expect(fields, 2) || !readDigits(fields[1], m_Property->most))
            return fail("not a largest value: " + quote(fields.text(fields.size() > 1 ? 1 : 0)));
        return true;
    }
    if (keyword == "applies") {
        PropertyDescription::Condition& condition = m_Property->condition;
        if (!expect(fields, 6) || !code(fields[3], condition.requiredCode) ||
            !code(fields[4], condition.refusedCode))
            return false;
        if (fields[1].empty() || (fields[2] != "when" && fields[2] != "unless"))
            return fail("a condition names a property and \"when\" or \"unless\"");
        condition.on = fields.text(1);
        condition.unless = fields[2] == "unless";
        condition.onlyValue = fields.text(5);
        return true;
    }
    if (keyword == "applies-value") {
        if (!expect(fields, 2))
            return false;
        if (m_Property->condition.on.empty())
            return fail("a condition's value follows its condition");
        m_Property->condition.values.push_back(fields.text(1));
        return true;
    }
    // "numbered", maybe with the largest number
    if (m_Property->name.find('N') == std::string::npos)
        return fail("a numbered name has an N to stand for the number");
    m_Property->numbered = true;
    if (fields.size() == 2 && !readDigits(fields[1], m_Property->numberedMost))
        return fail("not a largest number: " + quote(fields.text(1)));
    return fields.size() == 2 || expect(fields, 1);
}

// What only the whole description can tell.
bool Reader::finish() {
    if (!m_Description->index()) {
        m_Error = m_Source + ": an expression is described twice";
        return false;
    }
    for (const ExpressionDescription& expression : m_Description->expressions) {
        const auto fault = [&](const std::string& message) {
            m_Error = m_Source + ": " + expression.name + ": " + message;
            return false;
        };
        if (expression.isOperator && expression.children == ChildKinds::None)
            return fault("an operator without a \"children\" record");
        if (expression.result == ResultText::Property &&
            !expression.findProperty(expression.resultProperty))
            return fault("its result is the text of a property it does not have");
        if (!expression.literalTypeProperty.empty() &&
            !expression.findProperty(expression.literalTypeProperty))
            return fault("its literal type is named by a property it does not have");
        for (const PropertyDescription& property : expression.properties)
            if (property.rule == ValueRule::OneOf && property.values.empty())
                return fault("the property " + quote(property.name) + " takes one of no values");
    }
    return true;
}

std::shared_ptr<const PluginDescription> Reader::read(std::string text) {
    m_Description = std::make_shared<PluginDescription>();
    m_Description->source = m_Source;
    m_Description->text = std::move(text);
    std::string& buffer = m_Description->text;
    const std::string_view whole = buffer;
    // Room for every expression and code at once: no moves while reading.
    const auto records = [whole](std::string_view keyword) {
        std::size_t count = 0;
        for (std::size_t at = whole.find(keyword); at != std::string_view::npos;
             at = whole.find(keyword, at + 1))
            ++count;
        return count;
    };
    m_Description->expressions.reserve(records("\nexpression\t"));
    m_Description->codes.reserve(records("\ncode\t"));
    // A NUL byte is no text: the line it stands on is named.
    const std::size_t nul = buffer.find('\0');
    Fields fields;
    std::size_t at = 0;
    while (at < buffer.size()) {
        ++m_Line;
        const std::size_t end = buffer.find('\n', at);
        if (end == std::string::npos) {
            fail("the last line has no line end: the file is cut short");
            return nullptr;
        }
        std::size_t lineEnd = end;
        if (lineEnd > at && buffer[lineEnd - 1] == '\r')
            --lineEnd;
        if (nul < end) {
            fail("a NUL byte");
            return nullptr;
        }
        char* begin = &buffer[at];
        at = end + 1;
        if (!fields.split(begin, &buffer[lineEnd])) {
            fail("a backslash that escapes nothing the format knows");
            return nullptr;
        }
        if (m_Line == 1) {
            if (fields.size() != 2 || fields[0] != kFormat) {
                fail(std::string("not a plug-in description (it starts with \"") + kFormat +
                     "<TAB>VERSION\")");
                return nullptr;
            }
            if (fields[1] != kFormatVersion) {
                fail("format version " + quote(fields.text(1)) + "; this corehost reads version " +
                     kFormatVersion);
                return nullptr;
            }
            continue;
        }
        if (m_Line == 2) {
            if (fields[0] != "plugin" || !expect(fields, 3) || fields[1].empty()) {
                if (m_Error.empty())
                    fail("the second line names the plug-in: plugin<TAB>NAME<TAB>VERSION");
                return nullptr;
            }
            m_Description->plugin = fields.text(1);
            m_Description->version = fields.text(2);
            continue;
        }
        if (!record(fields))
            return nullptr;
    }
    if (m_Line < 2) {
        m_Error = m_Source + ": empty, or cut short before the plug-in's name";
        return nullptr;
    }
    if (!finish())
        return nullptr;
    return m_Description;
}

std::string pathError(const std::string& path, int error) {
    return "cannot read the plug-in description " + path + ": " + std::strerror(error);
}

} // namespace

bool readDigits(std::string_view text, unsigned long long& value) {
    value = 0;
    if (text.empty())
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        const unsigned long long digit = static_cast<unsigned long long>(c - '0');
        if (value > (~0ULL - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    return true;
}

bool PropertyDescription::named(const std::string& candidate) const {
    if (!placeholder.empty()) {
        // The name with its placeholder replaced by one of the parts.
        const std::size_t at = name.find(placeholder);
        const std::size_t tail = name.size() - at - placeholder.size();
        if (candidate.size() < at + tail || candidate.compare(0, at, name, 0, at) != 0 ||
            candidate.compare(candidate.size() - tail, tail, name, at + placeholder.size(), tail) !=
                0)
            return false;
        const std::string_view part =
            std::string_view(candidate).substr(at, candidate.size() - at - tail);
        return std::find(nameParts.begin(), nameParts.end(), part) != nameParts.end();
    }
    if (!numbered)
        return candidate == name;
    // "fN.equals": the text before N, then digits without a leading 0, then
    // the text after N.
    const std::size_t at = name.find('N');
    const std::size_t tail = name.size() - at - 1;
    if (candidate.size() <= at + tail || candidate.compare(0, at, name, 0, at) != 0 ||
        candidate.compare(candidate.size() - tail, tail, name, at + 1, tail) != 0)
        return false;
    const std::string_view digits =
        std::string_view(candidate).substr(at, candidate.size() - at - tail);
    return digits[0] != '0' && digits.find_first_not_of("0123456789") == std::string_view::npos;
}

const PropertyDescription* ExpressionDescription::findProperty(const std::string& name) const {
    for (const PropertyDescription& property : properties)
        if (property.named(name))
            return &property;
    return nullptr;
}

const char* ExpressionDescription::kindName() const {
    if (vector)
        return isOperator ? "vector operator" : "vector operand";
    return isOperator ? "scalar operator" : "scalar operand";
}

TErrorCode ExpressionDescription::literalRefusal(const std::string& type) const {
    for (const auto& refusal : literalRefusals)
        if (refusal.first == type)
            return refusal.second;
    return literalRefusedCode;
}

const ExpressionDescription* PluginDescription::findExpression(const std::string& name) const {
    const auto found = std::lower_bound(m_ByName.begin(), m_ByName.end(), name,
                                        [this](std::size_t at, const std::string& wanted) {
                                            return expressions[at].name < wanted;
                                        });
    return found != m_ByName.end() && expressions[*found].name == name ? &expressions[*found]
                                                                       : nullptr;
}

const SettingDescription* PluginDescription::findSetting(const std::string& name) const {
    for (const SettingDescription& setting : settings)
        if (setting.name == name)
            return &setting;
    return nullptr;
}

const char* PluginDescription::codeMeaning(TErrorCode code) const {
    for (const CodeDescription& entry : codes)
        if (entry.code == code)
            return entry.meaning.data(); // followed by a NUL in the text
    return "unknown code";
}

bool PluginDescription::index() {
    m_ByName.resize(expressions.size());
    for (std::size_t i = 0; i < expressions.size(); ++i)
        m_ByName[i] = i;
    const auto byName = [this](std::size_t a, std::size_t b) {
        return expressions[a].name < expressions[b].name;
    };
    std::sort(m_ByName.begin(), m_ByName.end(), byName);
    return std::adjacent_find(m_ByName.begin(), m_ByName.end(),
                              [this](std::size_t a, std::size_t b) {
                                  return expressions[a].name == expressions[b].name;
                              }) == m_ByName.end();
}

std::string descriptionPathOf(const std::string& modulePath) {
    const std::size_t slash = modulePath.rfind('/');
    const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    std::size_t suffix = modulePath.find(".so", nameAt);
    while (suffix != std::string::npos && suffix + 3 < modulePath.size() &&
           modulePath[suffix + 3] != '.')
        suffix = modulePath.find(".so", suffix + 1);
    return modulePath.substr(0, suffix) + ".description";
}

std::shared_ptr<const PluginDescription>
parseDescription(const std::string& text, const std::string& source, std::string& error) {
    return Reader(source, error).read(text);
}

std::shared_ptr<const PluginDescription> readDescription(const std::string& path, bool& missing,
                                                         std::string& error) {
    missing = false;
    // Without blocking, and only a regular file: a FIFO planted there must
    // not hang the host.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        missing = errno == ENOENT;
        if (!missing)
            error = pathError(path, errno);
        return nullptr;
    }
    struct stat status {};
    std::string text;
    int failure = 0;
    if (::fstat(fd, &status) != 0) {
        failure = errno;
    } else if (!S_ISREG(status.st_mode)) {
        error = "the plug-in description " + path + " is not a regular file";
    } else {
        char buffer[16384];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                failure = errno;
                break;
            }
            if (got == 0)
                break;
            text.append(buffer, static_cast<std::size_t>(got));
            if (text.size() > kMaxDescriptionBytes) {
                error = "the plug-in description " + path + " is larger than 4 MiB";
                break;
            }
        }
    }
    ::close(fd);
    if (failure != 0)
        error = pathError(path, failure);
    if (!error.empty())
        return nullptr;
    return Reader(path, error).read(std::move(text));
}

bool neverTruth(ResultText text) {
    return text != ResultText::Any && text != ResultText::Truth && text != ResultText::Property;
}

const char* describeResultText(ResultText text) {
    switch (text) {
    case ResultText::Any:
    case ResultText::Property:
        return "any text";
    case ResultText::Truth:
        return "a truth value";
    case ResultText::Number:
        return "a number";
    case ResultText::HexDigest:
        return "a hex digest";
    case ResultText::OctalMode:
        return "an octal mode";
    case ResultText::Path:
        return "a path";
    case ResultText::List:
        return "a list";
    }
    return "any text";
}

} // namespace corehost
