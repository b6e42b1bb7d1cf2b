// Validation of corehost documents and their conversion to node descriptions.
#include "eval/DocumentReader.h"

#include "eval/ExpressionTree.h"
#include "eval/TextConversion.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <map>
#include <regex>
#include <unistd.h>

namespace corehost {

namespace {

using Json = nlohmann::json;

std::string join(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

std::string indexed(const std::string& path, const char* key, std::size_t index) {
    return join(path, std::string(key) + "[" + std::to_string(index) + "]");
}

bool fail(InputError& error, std::string path, std::string message) {
    error = InputError{std::move(path), std::move(message)};
    return false;
}

// Only the listed keys may appear in an object.
bool checkKeys(const Json& object, std::initializer_list<const char*> allowed,
               const std::string& path, InputError& error) {
    for (const auto& item : object.items()) {
        bool known = false;
        for (const char* key : allowed)
            known = known || item.key() == key;
        if (!known)
            return fail(error, path, "unexpected key \"" + item.key() + "\"");
    }
    return true;
}

// A text that is handed to the plug-in as a NUL-terminated wide text.
bool toText(const std::string& utf8, const std::string& path, std::wstring& out,
            InputError& error) {
    if (utf8.find('\0') != std::string::npos)
        return fail(error, path, "the text contains a NUL character");
    out = fromUtf8(utf8);
    return true;
}

bool readPropertyValue(const Json& value, const std::string& path, std::wstring& out,
                       InputError& error) {
    if (value.is_string())
        return toText(value.get<std::string>(), path, out, error);
    if (value.is_boolean()) {
        out = value.get<bool>() ? L"true" : L"false";
        return true;
    }
    if (value.is_number_unsigned()) {
        out = std::to_wstring(value.get<std::uint64_t>());
        return true;
    }
    if (value.is_number_integer()) {
        out = std::to_wstring(value.get<std::int64_t>());
        return true;
    }
    if (value.is_number_float()) {
        out = fromUtf8(value.dump());
        return true;
    }
    return fail(error, path, "a property value must be a string, a number or a boolean");
}

bool readNode(const Json& node, const std::string& path, std::size_t depth, NodeSpec& spec,
              InputError& error) {
    if (depth >= ExpressionTree::kMaxDepth)
        return fail(error, path,
                    "the tree is nested deeper than " + std::to_string(ExpressionTree::kMaxDepth) +
                        " levels");
    if (!node.is_object())
        return fail(error, path, "a tree node must be an object with a \"name\"");
    if (!checkKeys(node, {"name", "properties", "children", "comment"}, path, error))
        return false;
    auto name = node.find("name");
    if (name == node.end())
        return fail(error, path, "the node has no \"name\"");
    if (!name->is_string())
        return fail(error, join(path, "name"), "\"name\" must be a string");
    if (!toText(name->get<std::string>(), join(path, "name"), spec.name, error))
        return false;
    auto properties = node.find("properties");
    if (properties != node.end()) {
        const std::string propertiesPath = join(path, "properties");
        if (!properties->is_object())
            return fail(error, propertiesPath, "\"properties\" must be an object");
        for (const auto& item : properties->items()) {
            const std::string propertyPath = join(propertiesPath, item.key());
            std::wstring key;
            std::wstring value;
            if (!toText(item.key(), propertyPath, key, error) ||
                !readPropertyValue(item.value(), propertyPath, value, error))
                return false;
            spec.properties.emplace_back(std::move(key), std::move(value));
        }
    }
    auto children = node.find("children");
    if (children != node.end()) {
        if (!children->is_array())
            return fail(error, join(path, "children"), "\"children\" must be an array");
        spec.children.resize(children->size());
        for (std::size_t i = 0; i < children->size(); ++i)
            if (!readNode((*children)[i], indexed(path, "children", i), depth + 1, spec.children[i],
                          error))
                return false;
    }
    return true;
}

// A rule's expectation and metadata: "expect" is a text (or a number or a
// boolean, taken as its text) or an array of texts; "title", "description"
// and "severity" are texts; "tags" an array of texts.
bool readRuleDetails(const Json& item, const std::string& path, Rule& rule, InputError& error) {
    auto expect = item.find("expect");
    if (expect != item.end()) {
        Expectation expectation;
        expectation.isList = expect->is_array();
        const Json values = expectation.isList ? *expect : Json::array({*expect});
        for (std::size_t i = 0; i < values.size(); ++i) {
            const std::string valuePath =
                expectation.isList ? indexed(path, "expect", i) : join(path, "expect");
            std::wstring text;
            if (!readPropertyValue(values[i], valuePath, text, error))
                return false;
            expectation.values.push_back(toUtf8(text));
        }
        rule.expect = std::move(expectation);
    }
    const std::pair<const char*, std::string*> texts[] = {
        {"title", &rule.title}, {"description", &rule.description}, {"severity", &rule.severity}};
    for (const auto& text : texts) {
        auto value = item.find(text.first);
        if (value == item.end())
            continue;
        if (!value->is_string())
            return fail(error, join(path, text.first),
                        "\"" + std::string(text.first) + "\" must be a string");
        *text.second = value->get<std::string>();
    }
    auto tags = item.find("tags");
    if (tags == item.end())
        return true;
    if (!tags->is_array())
        return fail(error, join(path, "tags"), "\"tags\" must be an array of strings");
    for (std::size_t i = 0; i < tags->size(); ++i) {
        if (!(*tags)[i].is_string())
            return fail(error, indexed(path, "tags", i), "a tag must be a string");
        rule.tags.push_back((*tags)[i].get<std::string>());
    }
    return true;
}

bool readRules(const Json& root, Document& document, InputError& error) {
    if (!checkKeys(root, {"rules", "comment"}, "", error))
        return false;
    const Json& rules = root["rules"];
    if (!rules.is_array())
        return fail(error, "rules", "\"rules\" must be an array of rules");
    document.isRuleList = true;
    document.rules.resize(rules.size());
    std::map<std::string, std::size_t> seen;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        const std::string path = indexed("", "rules", i);
        const Json& item = rules[i];
        Rule& rule = document.rules[i];
        if (!item.is_object())
            return fail(error, path, "a rule must be an object with an \"id\" and a \"tree\"");
        if (!checkKeys(
                item,
                {"id", "tree", "comment", "expect", "title", "description", "severity", "tags"},
                path, error) ||
            !readRuleDetails(item, path, rule, error))
            return false;
        auto id = item.find("id");
        if (id == item.end())
            return fail(error, path, "the rule has no \"id\"");
        if (!id->is_string() || id->get<std::string>().empty())
            return fail(error, join(path, "id"), "\"id\" must be a non-empty string");
        rule.id = id->get<std::string>();
        auto earlier = seen.emplace(rule.id, i);
        if (!earlier.second)
            return fail(error, join(path, "id"),
                        "duplicate rule id \"" + rule.id + "\" (also rules[" +
                            std::to_string(earlier.first->second) + "])");
        auto tree = item.find("tree");
        if (tree == item.end())
            return fail(error, path, "the rule has no \"tree\"");
        rule.path = join(path, "tree");
        if (!readNode(*tree, rule.path, 0, rule.tree, error))
            return false;
    }
    return true;
}

// nlohmann's parse errors read "[json.exception.parse_error.101] parse error
// at line 3, column 7: syntax error while ...".
std::string describeParseError(const nlohmann::json::parse_error& e) {
    static const std::regex kPlace("line ([0-9]+), column ([0-9]+): (.*)");
    std::cmatch match;
    if (std::regex_search(e.what(), match, kPlace))
        return "invalid JSON at line " + match[1].str() + ", column " + match[2].str() + ": " +
               match[3].str();
    return std::string("invalid JSON: ") + e.what();
}

} // namespace

std::string describePath(const std::string& path) {
    return path.empty() ? "the document root" : path;
}

bool DocumentReader::parse(const std::string& text, Document& document, InputError& error) {
    Json root;
    try {
        root = Json::parse(text);
    } catch (const nlohmann::json::parse_error& e) {
        return fail(error, "", describeParseError(e));
    } catch (const nlohmann::json::exception& e) {
        // A number beyond the range of a double ("1e400") is refused with
        // out_of_range rather than parse_error: "[json.exception...] what".
        const std::string what = e.what();
        const std::size_t end = what.find("] ");
        return fail(error, "",
                    "invalid JSON: " + (end == std::string::npos ? what : what.substr(end + 2)));
    }
    document = Document();
    if (!root.is_object())
        return fail(error, "", "the document must be an object: a tree, or {\"rules\": [...]}");
    if (root.contains("rules"))
        return readRules(root, document, error);
    document.rules.resize(1);
    return readNode(root, "", 0, document.rules.front().tree, error);
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
            return fail(error, indexed("", "rules", r) + ".id",
                        "duplicate rule id \"" + id + "\" (also rules[" +
                            std::to_string(earlier.first->second.second) + "] of " + first.source +
                            ")");
        }
    }
    return true;
}

bool DocumentReader::readSource(const std::string& source, std::string& text, std::string& error) {
    const bool standardInput = source == "-";
    int fd = standardInput ? STDIN_FILENO : ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    text.clear();
    char buffer[65536];
    for (;;) {
        ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            error = std::strerror(errno);
            if (!standardInput)
                ::close(fd);
            return false;
        }
        if (count == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(count));
    }
    if (!standardInput)
        ::close(fd);
    return true;
}

} // namespace corehost
