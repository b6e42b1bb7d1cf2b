// Validation of corehost documents and their conversion to node descriptions.
// The JSON text is read in one pass of parser events: reading stops at the
// first fault, nothing is kept but what the document describes, duplicate keys
// are seen, and numbers keep the text they are written in.
#include "eval/DocumentReader.h"

#include "eval/ExpressionTree.h"
#include "eval/MessageText.h"
#include "eval/TextConversion.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

namespace corehost {

namespace {

using Json = nlohmann::json;

std::string join(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

std::string indexed(const std::string& path, const char* key, std::size_t index) {
    return join(path, std::string(key) + "[" + std::to_string(index) + "]");
}

// "line 3, column 7" for the byte at `offset` (both from 1; columns count bytes).
std::string describeLocation(const std::string& text, std::size_t offset) {
    offset = std::min(offset, text.size());
    const std::size_t line = 1 + static_cast<std::size_t>(std::count(
                                     text.begin(), text.begin() + static_cast<long>(offset), '\n'));
    const std::size_t newline = offset == 0 ? std::string::npos : text.rfind('\n', offset - 1);
    const std::size_t column = newline == std::string::npos ? offset + 1 : offset - newline;
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// The opening quote of the string whose closing quote is at `closing`: the
// first quote before it that no odd run of backslashes escapes.
std::size_t openingQuote(const std::string& text, std::size_t closing) {
    for (std::size_t at = closing; at-- > 0;) {
        if (text[at] != '"')
            continue;
        std::size_t backslashes = 0;
        while (backslashes < at && text[at - 1 - backslashes] == '\\')
            ++backslashes;
        if (backslashes % 2 == 0)
            return at;
    }
    return 0;
}

// nlohmann's messages read "[json.exception.parse_error.101] parse error at
// line 3, column 7: syntax error while parsing value - invalid string: ...;
// last read: '<token>'" or "[json.exception.out_of_range.406] number overflow
// parsing '<token>'". The token can be as long as the document: only its end,
// where the fault is, is kept.
std::string describeSyntaxError(const std::string& text, std::size_t position,
                                const std::string& token, const std::string& what) {
    std::size_t start = what.find("] ");
    start = start == std::string::npos ? 0 : start + 2;
    const std::string placed = "parse error at line ";
    const bool located = what.compare(start, placed.size(), placed) == 0;
    if (located) {
        const std::size_t colon = what.find(": ", start);
        start = colon == std::string::npos ? what.size() : colon + 2;
    }
    std::string detail = what.substr(start);
    for (const char* marker : {"last read: '", "number overflow parsing '"}) {
        const std::size_t at = detail.find(marker);
        const std::size_t from = at + std::strlen(marker);
        if (at != std::string::npos && detail.compare(from, token.size(), token) == 0) {
            detail.replace(from, token.size(), printableTail(token));
            break;
        }
    }
    if (!located)
        return "invalid JSON: " + detail;
    // `position` counts the bytes read, the faulty one included.
    return "invalid JSON at " + describeLocation(text, position == 0 ? 0 : position - 1) + ": " +
           detail;
}

// A position in the document that counts how far the parser has read, so
// that faults the parser does not see itself (duplicate keys) can be located.
class CountingIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    CountingIterator(const char* at, std::size_t* consumed) : m_At(at), m_Consumed(consumed) {}
    reference operator*() const { return *m_At; }
    CountingIterator& operator++() {
        ++m_At;
        ++*m_Consumed;
        return *this;
    }
    bool operator==(const CountingIterator& other) const { return m_At == other.m_At; }
    bool operator!=(const CountingIterator& other) const { return m_At != other.m_At; }

private:
    const char* m_At;
    std::size_t* m_Consumed;
};

// The keys of a tree node; "rules" only in the root object, where it makes
// the document a list of rules.
enum NodeKey { kName, kProperties, kChildren, kNodeComment, kRules };
const char* const kNodeKeys[] = {"name", "properties", "children", "comment", "rules"};
constexpr unsigned kTreeKeys = 1U << kName | 1U << kProperties | 1U << kChildren;

enum RuleKey { kId, kTree, kRuleComment, kExpect, kTitle, kDescription, kSeverity, kTags, kOnlyIf };
const char* const kRuleKeys[] = {"id",          "tree",     "comment", "expect", "title",
                                 "description", "severity", "tags",    "onlyIf"};

const char* const kSeverities[] = {"info", "low", "medium", "high", "critical"};

template <std::size_t N> int keyIndex(const char* const (&keys)[N], const std::string& key) {
    for (std::size_t i = 0; i < N; ++i)
        if (key == keys[i])
            return static_cast<int>(i);
    return -1;
}

// Turns the parser's events into a Document, checking each value where it
// arrives.
class DocumentBuilder {
public:
    DocumentBuilder(const std::string& text, const std::size_t& consumed, Document& document)
        : m_Text(text), m_Consumed(consumed), m_Document(document) {}

    bool failed() const { return m_Failed; }
    const InputError& error() const { return m_Error; }
    // The parser's count of bytes read at a syntax error, npos for other faults.
    std::size_t syntaxErrorPosition() const { return m_SyntaxPosition; }
    // The path of the innermost open object or array.
    std::string currentPath() const { return m_Stack.empty() ? "" : m_Stack.back().path; }

    // The parser's events (nlohmann::json SAX interface).
    bool null() { return value(Kind::Null, ""); }
    bool boolean(bool value) { return this->value(Kind::Text, value ? "true" : "false"); }
    // Only "-0" and negative integers arrive here (other integers are
    // unsigned), so "-0" keeps its sign.
    bool number_integer(std::int64_t number) {
        return value(Kind::Text, number == 0 ? "-0" : std::to_string(number));
    }
    bool number_unsigned(std::uint64_t number) { return value(Kind::Text, std::to_string(number)); }
    bool number_float(double, const std::string& text) { return value(Kind::Text, text); }
    bool string(std::string& text) { return value(Kind::String, text); }
    bool binary(Json::binary_t&) { return fail("", "binary values are not JSON"); }
    bool start_object(std::size_t) { return value(Kind::Object, ""); }
    bool start_array(std::size_t) { return value(Kind::Array, ""); }
    bool key(std::string& key);
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    bool parse_error(std::size_t position, const std::string& token,
                     const nlohmann::detail::exception& e) {
        m_SyntaxPosition = position;
        return fail("", describeSyntaxError(m_Text, position, token, e.what()));
    }

private:
    // Numbers and booleans arrive as their text, like strings, and are told
    // apart only where a string alone will do.
    enum class Kind { Null, Text, String, Object, Array };
    enum class Frame { Node, Properties, Children, Rules, Rule, Texts, Ignored };

    struct Context {
        Context(Frame kind, std::string where) : frame(kind), path(std::move(where)) {}

        Frame frame;
        std::string path;
        NodeSpec* node = nullptr;                  // Node, Properties, Children
        Rule* rule = nullptr;                      // Rule
        std::vector<std::string>* texts = nullptr; // Texts
        const char* typeError = nullptr;           // Texts: the message for an element not a text
        std::size_t depth = 0; // Node, Children: depth in the tree; Ignored: containers open
        std::size_t count = 0; // Children, Rules: elements so far; Rule: its index
        unsigned seen = 0;     // Node, Rule: the keys seen, one bit each
        bool root = false;     // Node: the document's root object
        int key = -1;          // Node, Rule: the key whose value comes next
        std::string property;  // Properties: the key whose value comes next
        std::unordered_set<std::string> names; // Properties: the keys seen
    };

    bool value(Kind kind, const std::string& text);
    bool rootValue(Kind kind);
    bool nodeValue(Context& node, Kind kind, const std::string& text);
    bool propertyValue(Context& properties, Kind kind, const std::string& text);
    bool childValue(Context& children, Kind kind);
    bool ruleListValue(Context& rules, Kind kind);
    bool ruleValue(Context& rule, Kind kind, const std::string& text);
    bool textValue(Context& texts, Kind kind, const std::string& text);
    bool ignore(Kind kind);
    bool close();
    bool duplicateKey(const Context& object, const std::string& key);
    // A text for the plug-in or a report: no NUL characters.
    bool checkText(const std::string& text, const std::string& path);
    bool fail(std::string path, std::string message) {
        m_Failed = true;
        m_Error = InputError{std::move(path), std::move(message), ""};
        return false;
    }

    const std::string& m_Text;
    const std::size_t& m_Consumed;
    Document& m_Document;
    std::vector<Context> m_Stack;
    std::unordered_map<std::string, std::size_t> m_RuleIds; // id -> its rule
    bool m_Failed = false;
    InputError m_Error;
    std::size_t m_SyntaxPosition = std::string::npos;
};

bool DocumentBuilder::value(Kind kind, const std::string& text) {
    if (m_Stack.empty())
        return rootValue(kind);
    Context& top = m_Stack.back();
    switch (top.frame) {
    case Frame::Node:
        return nodeValue(top, kind, text);
    case Frame::Properties:
        return propertyValue(top, kind, text);
    case Frame::Children:
        return childValue(top, kind);
    case Frame::Rules:
        return ruleListValue(top, kind);
    case Frame::Rule:
        return ruleValue(top, kind, text);
    case Frame::Texts:
        return textValue(top, kind, text);
    case Frame::Ignored:
        if (kind == Kind::Object || kind == Kind::Array)
            ++top.depth;
        return true;
    }
    return true;
}

bool DocumentBuilder::rootValue(Kind kind) {
    if (kind != Kind::Object)
        return fail("", "the document must be an object: a tree, or {\"rules\": [...]}");
    // A single tree, until a "rules" key says otherwise.
    m_Document.rules.resize(1);
    Context root{Frame::Node, ""};
    root.node = &m_Document.rules.front().tree;
    root.root = true;
    m_Stack.push_back(std::move(root));
    return true;
}

bool DocumentBuilder::key(std::string& key) {
    Context& top = m_Stack.back();
    if (top.frame == Frame::Properties) {
        if (!top.names.insert(key).second)
            return duplicateKey(top, key);
        if (!checkText(key, join(top.path, printable(key))))
            return false;
        top.property = std::move(key);
        return true;
    }
    if (top.frame == Frame::Rule) {
        top.key = keyIndex(kRuleKeys, key);
        if (top.key < 0)
            return fail(top.path, "unexpected key " + quote(key));
    } else if (top.frame == Frame::Node) {
        top.key = keyIndex(kNodeKeys, key);
        const bool rules = top.seen & 1U << kRules;
        if (top.key < 0 || (top.key == kRules && (!top.root || (top.seen & kTreeKeys))) ||
            (rules && (1U << top.key & kTreeKeys)))
            return fail(top.path, "unexpected key " + quote(key));
    } else {
        return true; // a key inside an ignored value
    }
    if (top.seen & 1U << top.key)
        return duplicateKey(top, key);
    top.seen |= 1U << top.key;
    return true;
}

bool DocumentBuilder::duplicateKey(const Context& object, const std::string& key) {
    // The parser has just read the key's closing quote.
    const std::size_t start = openingQuote(m_Text, m_Consumed - 1);
    return fail(object.path,
                "duplicate key " + quote(key) + " at " + describeLocation(m_Text, start));
}

bool DocumentBuilder::checkText(const std::string& text, const std::string& path) {
    return text.find('\0') == std::string::npos || fail(path, "the text contains a NUL character");
}

bool DocumentBuilder::nodeValue(Context& node, Kind kind, const std::string& text) {
    const std::string path = join(node.path, kNodeKeys[node.key]);
    switch (node.key) {
    case kName:
        if (kind != Kind::String)
            return fail(path, "\"name\" must be a string");
        if (!checkText(text, path))
            return false;
        node.node->name = fromUtf8(text);
        return true;
    case kProperties: {
        if (kind != Kind::Object)
            return fail(path, "\"properties\" must be an object");
        Context properties{Frame::Properties, path};
        properties.node = node.node;
        m_Stack.push_back(std::move(properties));
        return true;
    }
    case kChildren: {
        if (kind != Kind::Array)
            return fail(path, "\"children\" must be an array");
        Context children{Frame::Children, node.path};
        children.node = node.node;
        children.depth = node.depth;
        m_Stack.push_back(std::move(children));
        return true;
    }
    case kRules:
        if (kind != Kind::Array)
            return fail(path, "\"rules\" must be an array of rules");
        m_Document.isRuleList = true;
        m_Document.rules.clear();
        node.node = nullptr;
        m_Stack.push_back(Context{Frame::Rules, "rules"});
        return true;
    default:
        return ignore(kind);
    }
}

bool DocumentBuilder::propertyValue(Context& properties, Kind kind, const std::string& text) {
    const std::string path = join(properties.path, printable(properties.property));
    if (kind != Kind::String && kind != Kind::Text)
        return fail(path, "a property value must be a string, a number or a boolean");
    if (!checkText(text, path))
        return false;
    properties.node->properties.emplace_back(fromUtf8(properties.property), fromUtf8(text));
    return true;
}

bool DocumentBuilder::childValue(Context& children, Kind kind) {
    if (kind != Kind::Object)
        return fail(indexed(children.path, "children", children.count),
                    "a tree node must be an object with a \"name\"");
    const std::string path = indexed(children.path, "children", children.count++);
    const std::size_t depth = children.depth + 1;
    if (depth >= ExpressionTree::kMaxDepth)
        return fail(path, "the tree is nested deeper than " +
                              std::to_string(ExpressionTree::kMaxDepth) + " levels");
    Context child{Frame::Node, path};
    children.node->children.emplace_back();
    child.node = &children.node->children.back();
    child.depth = depth;
    m_Stack.push_back(std::move(child));
    return true;
}

bool DocumentBuilder::ruleListValue(Context& rules, Kind kind) {
    const std::string path = indexed("", "rules", rules.count);
    if (kind != Kind::Object)
        return fail(path, "a rule must be an object with an \"id\" and a \"tree\"");
    Context rule{Frame::Rule, path};
    m_Document.rules.emplace_back();
    rule.rule = &m_Document.rules.back();
    rule.count = rules.count++;
    m_Stack.push_back(std::move(rule));
    return true;
}

bool DocumentBuilder::ruleValue(Context& rule, Kind kind, const std::string& text) {
    const std::string path = join(rule.path, kRuleKeys[rule.key]);
    Rule& target = *rule.rule;
    const bool isText = kind == Kind::String;
    switch (rule.key) {
    case kId: {
        if (!isText || text.empty())
            return fail(path, "\"id\" must be a non-empty string");
        if (!checkText(text, path))
            return false;
        auto earlier = m_RuleIds.emplace(text, rule.count);
        if (!earlier.second)
            return fail(path, "duplicate rule id " + quote(text) + " (also rules[" +
                                  std::to_string(earlier.first->second) + "])");
        target.id = text;
        return true;
    }
    case kTree: {
        if (kind != Kind::Object)
            return fail(path, "a tree node must be an object with a \"name\"");
        target.path = path;
        Context tree{Frame::Node, path};
        tree.node = &target.tree;
        m_Stack.push_back(std::move(tree));
        return true;
    }
    case kOnlyIf: {
        if (kind != Kind::Object)
            return fail(path, "a tree node must be an object with a \"name\"");
        target.onlyIfPath = path;
        target.onlyIf.emplace();
        Context tree{Frame::Node, path};
        tree.node = &*target.onlyIf;
        m_Stack.push_back(std::move(tree));
        return true;
    }
    case kExpect: {
        const char* message = "\"expect\" must be a text, or an array of texts for a vector result";
        if (kind == Kind::Array) {
            target.expect = Expectation{true, {}};
            Context texts{Frame::Texts, path};
            texts.texts = &target.expect->values;
            texts.typeError = message;
            m_Stack.push_back(std::move(texts));
            return true;
        }
        // A number or a boolean stands for its text, as in properties.
        if (kind != Kind::String && kind != Kind::Text)
            return fail(path, message);
        target.expect = Expectation{false, {text}};
        return checkText(text, path);
    }
    case kTitle:
    case kDescription:
        if (!isText)
            return fail(path, "\"" + std::string(kRuleKeys[rule.key]) + "\" must be a text");
        (rule.key == kTitle ? target.title : target.description) = text;
        return checkText(text, path);
    case kSeverity:
        if (!isText || keyIndex(kSeverities, text) < 0)
            return fail(path, "\"severity\" must be one of info, low, medium, high, critical" +
                                  (isText ? ", not " + quote(text) : std::string()));
        target.severity = text;
        return true;
    case kTags: {
        if (kind != Kind::Array)
            return fail(path, "\"tags\" must be an array of texts");
        Context texts{Frame::Texts, path};
        texts.texts = &target.tags;
        texts.typeError = "\"tags\" must be an array of texts";
        m_Stack.push_back(std::move(texts));
        return true;
    }
    default:
        return ignore(kind);
    }
}

bool DocumentBuilder::textValue(Context& texts, Kind kind, const std::string& text) {
    if (kind != Kind::String)
        return fail(texts.path, texts.typeError);
    texts.texts->push_back(text);
    return checkText(text, texts.path);
}

// A "comment" is not read: only objects and arrays need following, to find its end.
bool DocumentBuilder::ignore(Kind kind) {
    if (kind == Kind::Object || kind == Kind::Array) {
        Context ignored{Frame::Ignored, ""};
        ignored.depth = 1;
        m_Stack.push_back(std::move(ignored));
    }
    return true;
}

bool DocumentBuilder::close() {
    Context& top = m_Stack.back();
    if (top.frame == Frame::Ignored && --top.depth > 0)
        return true;
    if (top.frame == Frame::Node && !(top.seen & (1U << kName | 1U << kRules)))
        return fail(top.path, "the node has no \"name\"");
    if (top.frame == Frame::Rule && !(top.seen & 1U << kId))
        return fail(top.path, "the rule has no \"id\"");
    if (top.frame == Frame::Rule && !(top.seen & 1U << kTree))
        return fail(top.path, "the rule has no \"tree\"");
    m_Stack.pop_back();
    return true;
}

} // namespace

std::string describePath(const std::string& path) {
    if (path.empty())
        return "the document root";
    std::vector<std::size_t> dots;
    for (std::size_t at = path.find('.'); at != std::string::npos; at = path.find('.', at + 1))
        dots.push_back(at);
    const std::size_t parts = dots.size() + 1;
    if (parts <= kShownPathParts)
        return path;
    const std::size_t kept = kShownPathParts / 2;
    const std::size_t headEnd = dots[kept - 1];
    const std::size_t tailStart = dots[dots.size() - kept] + 1;
    return path.substr(0, headEnd) + "...(" + std::to_string(parts - 2 * kept) + " more)..." +
           path.substr(tailStart);
}

bool DocumentReader::parse(const std::string& text, Document& document, InputError& error) {
    document = Document();
    // The parser takes a NUL byte for the end of the text: it reads up to the
    // first one, and the document is refused if there is one.
    const std::size_t nul = text.find('\0');
    const std::size_t end = nul == std::string::npos ? text.size() : nul;
    std::size_t consumed = 0;
    DocumentBuilder builder(text, consumed, document);
    Json::sax_parse(CountingIterator(text.data(), &consumed),
                    CountingIterator(text.data() + end, &consumed), &builder);
    // A syntax error past the NUL byte is the end of input the NUL made.
    const bool cutShort = nul != std::string::npos &&
                          builder.syntaxErrorPosition() != std::string::npos &&
                          builder.syntaxErrorPosition() > end;
    if (builder.failed() && !cutShort) {
        error = builder.error();
        return false;
    }
    if (nul != std::string::npos) {
        error = InputError{builder.currentPath(),
                           "the document holds a NUL byte at " + describeLocation(text, nul), ""};
        return false;
    }
    return true;
}

bool DocumentReader::checkUniqueIds(const std::vector<Document>& documents, InputError& error) {
    // id -> (document, rule) of its first occurrence
    std::map<std::string, std::pair<std::size_t, std::size_t>> seen;
    for (std::size_t d = 0; d < documents.size(); ++d) {
        for (std::size_t r = 0; r < documents[d].rules.size(); ++r) {
            const std::string& id = documents[d].rules[r].id;
            if (id.empty())
                continue;
            auto earlier = seen.emplace(id, std::make_pair(d, r));
            if (earlier.second)
                continue;
            const Document& first = documents[earlier.first->second.first];
            error = InputError{indexed("", "rules", r) + ".id",
                               "duplicate rule id " + quote(id) + " (also rules[" +
                                   std::to_string(earlier.first->second.second) + "] of " +
                                   first.source + ")",
                               documents[d].source};
            return false;
        }
    }
    return true;
}

namespace {

struct Descriptor {
    int fd;
    bool owned;
    ~Descriptor() {
        if (owned)
            ::close(fd);
    }
};

std::string tooLarge() {
    return "the document is larger than " +
           std::to_string(DocumentReader::kMaxDocumentBytes >> 20) + " MiB";
}

} // namespace

bool DocumentReader::readSource(const std::string& source, std::string& text, std::string& error) {
    const bool standardInput = source == "-";
    const Descriptor file{standardInput ? STDIN_FILENO
                                        : ::open(source.c_str(), O_RDONLY | O_CLOEXEC),
                          !standardInput};
    if (file.fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    text.clear();
    struct stat status {};
    if (::fstat(file.fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        if (static_cast<std::uint64_t>(status.st_size) > kMaxDocumentBytes) {
            error = tooLarge();
            return false;
        }
        text.reserve(static_cast<std::size_t>(status.st_size));
    }
    // Endless sources (a device, a pipe that never closes) end at the limit.
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            error = std::strerror(errno);
            return false;
        }
        if (count == 0)
            return true;
        if (text.size() + static_cast<std::size_t>(count) > kMaxDocumentBytes) {
            error = tooLarge();
            text.clear();
            return false;
        }
        text.append(buffer, static_cast<std::size_t>(count));
    }
}

} // namespace corehost
