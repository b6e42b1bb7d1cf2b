// The table of CorePlugin's expressions, the choice of a plug-in's catalog,
// and the reading of the values the catalogs name.
#include "eval/Catalog.h"

#include "eval/CatalogTables.h"
#include "eval/TextConversion.h"

#include "ResultCodes.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <list>
#include <mutex>

namespace corehost {

namespace catalog_detail {

PropertySpec required(const char* name, TErrorCode missing, const char* note) {
    return PropertySpec{name, missing, ValueRule::Text, {}, 0, note};
}

PropertySpec required(const char* name, TErrorCode missing, ValueRule rule, Values values,
                      TErrorCode invalid, const char* note) {
    return PropertySpec{name, missing, rule, std::move(values), invalid, note};
}

PropertySpec optional(const char* name, const char* note) {
    return PropertySpec{name, 0, ValueRule::Text, {}, 0, note};
}

PropertySpec optional(const char* name, Values values, TErrorCode invalid, const char* note) {
    return PropertySpec{name, 0, ValueRule::OneOf, std::move(values), invalid, note};
}

const Values kRelations{"eq", "ne", "gt", "ge", "lt", "le"};
const Values kTruth{"true", "false"};

ExpressionSpec operand(const char* name, ResultText text, std::vector<PropertySpec> properties,
                       const char* result) {
    return ExpressionSpec{name, text,  text == ResultText::List, false,   ChildKinds::None, 0,
                          0,    false, std::move(properties),    nullptr, nullptr,          result};
}

ExpressionSpec op(const char* name, ResultText text, ChildKinds children, std::size_t least,
                  std::size_t most, std::vector<PropertySpec> properties, const char* result) {
    return ExpressionSpec{name, text,  text == ResultText::List, true,    children, least,
                          most, false, std::move(properties),    nullptr, nullptr,  result};
}

} // namespace catalog_detail

namespace {

using namespace CorePlugin; // the result codes
using namespace catalog_detail;

PropertySpec absolutePath() {
    return required("absolutePath", RC_PATH_PROPERTY_MISSING);
}

PropertySpec inputString() {
    return required("inputString", RC_INPUT_STRING_MISSING);
}

PropertySpec ignoreCase() {
    return optional("ignoreCase", kTruth, 0, "`true`: without regard to case");
}

std::vector<PropertySpec> iniProperties() {
    return {required("file", RC_PATH_OR_FILE_MISSING),
            required("section", RC_ATTRIBUTE_OR_SECTION_MISSING),
            required("key", RC_INI_KEY_MISSING)};
}

std::vector<PropertySpec> indexes(ValueRule rule, const char* startNote, const char* endNote) {
    return {inputString(),
            required("startIndex", RC_START_OR_END_MISSING, rule, {}, RC_INVALID_STRING_PARAMETER,
                     startNote),
            required("endIndex", RC_START_OR_END_MISSING, rule, {}, RC_INVALID_STRING_PARAMETER,
                     endNote)};
}

ExpressionSpec bitwise(const char* name, const char* result) {
    ExpressionSpec spec = op(name, ResultText::Number, ChildKinds::Scalar, 2, 2, {}, result);
    spec.literalType = "uinteger";
    return spec;
}

std::vector<ExpressionSpec> makeCoreExpressions() {
    const ChildKinds scalars = ChildKinds::Scalar;
    const ChildKinds any = ChildKinds::ScalarOrVector;
    const PropertySpec field =
        required("field", RC_ATTRIBUTE_OR_SECTION_MISSING, ValueRule::OneOf,
                 {"size", "inode", "mtime", "ctime", "atime"}, RC_UNKNOWN_FILE_ATTRIBUTE);
    const PropertySpec relation = required("relation", RC_RELATION_MISSING, ValueRule::OneOf,
                                           kRelations, RC_UNKNOWN_RELATION);
    const PropertySpec filter = optional("filter", "a wildcard pattern; none: every value");
    ExpressionSpec compare =
        op("Compare", ResultText::Truth, scalars, 2, 2,
           {required("type", RC_COMPARISON_TYPE_MISSING, ValueRule::OneOf,
                     {"version", "integer", "uinteger", "hex", "string", "cistring", "boolean"},
                     RC_UNKNOWN_COMPARISON_TYPE),
            relation},
           "`true`/`false`: first child `relation` second child");
    compare.literalTypeProperty = "type";
    ExpressionSpec choice = op("Switch", ResultText::Any, scalars, 0, kAnyNumber,
                               {optional("default", "the result when no condition is `true`")},
                               "the value after the first `true` condition, else `default`");
    choice.pairs = true;
    choice.truthChildren = TruthChildren::Conditions;
    const auto ofTruths = [](ExpressionSpec spec) {
        spec.truthChildren = TruthChildren::Every;
        return spec;
    };

    return {
        ofTruths(op("Not", ResultText::Truth, scalars, 1, 1, {}, "negation of a truth value")),
        ofTruths(op("And", ResultText::Truth, scalars, 0, kAnyNumber, {},
                    "`true` unless a child is `false` (stops early at the first `false`)")),
        ofTruths(op("Or", ResultText::Truth, scalars, 0, kAnyNumber, {},
                    "`false` unless a child is `true` (stops early at the first `true`)")),
        operand("FileInfo", ResultText::Number, {absolutePath(), field},
                "the attribute as decimal text (times in seconds since 1970-01-01 UTC)"),
        operand("FileInfoCompare", ResultText::Truth,
                {relation, absolutePath(), field,
                 required("value", RC_VALUE_MISSING, ValueRule::Number, {}, RC_INVALID_ARGUMENT),
                 optional("mustExist", kTruth, 0, "`true`: a missing file is -11033")},
                "`true`/`false`: the file's attribute compared with `value`"),
        operand("FileExists", ResultText::Truth, {absolutePath()},
                "`true` when a regular file (or a link to one) is there"),
        operand("FileDirectory", ResultText::Any, {required("file", RC_PATH_PROPERTY_MISSING)},
                "the directory part of the path, by text alone"),
        operand("PathExists", ResultText::Truth, {absolutePath()},
                "`true` when a directory (or a link to one) is there"),
        operand("ValueOf", ResultText::Any, {required("value", RC_VALUE_MISSING)},
                "the text of `value`"),
        compare,
        op("Vector", ResultText::List, any, 0, kAnyNumber, {filter, ignoreCase()},
           "the children's values that match the filter, in order"),
        op("Sort", ResultText::List, any, 0, kAnyNumber,
           {filter, ignoreCase(),
            optional("order", {"asc", "desc"}, RC_INVALID_SORT_ORDER, "default `asc`")},
           "the values sorted by code point"),
        operand("Match", ResultText::Truth,
                {inputString(), required("filter", RC_INPUT_STRING_MISSING, "a wildcard pattern"),
                 ignoreCase()},
                "`true` when the text matches the wildcard pattern"),
        op("Concat", ResultText::Any, scalars, 0, kAnyNumber,
           {optional("separator", "put between two results"),
            optional("ifEmpty", {"add"}, 0, "to keep empty results")},
           "the children's results joined"),
        choice,
        bitwise("BitwiseAnd", "unsigned 64-bit AND of two decimal numbers"),
        bitwise("BitwiseInclusiveOr", "unsigned 64-bit OR"),
        bitwise("BitwiseExclusiveOr", "unsigned 64-bit XOR"),
        op("ScalarToVector", ResultText::List, any, 1, 1, {},
           "the packed text unpacked into a list (a vector child of one element)"),
        op("VectorToScalar", ResultText::Any, any, 0, kAnyNumber, {},
           "all values packed into one text"),
        op("VectorIterator", ResultText::List, any, 0, kAnyNumber, {},
           "the positions `1` .. `n` of the values fed"),
        op("VectorAt", ResultText::Any, any, 0, kAnyNumber,
           {required("index", RC_INDEX_MISSING, ValueRule::Position, {}, RC_NOT_AN_UNSIGNED_NUMBER,
                     "counted from 1")},
           "the value at that position (-11035 beyond the list)"),
        op("Md5", ResultText::HexDigest, scalars, 0, kAnyNumber, {},
           "MD5 of the joined children's UTF-8 text, 32 lower-case hex digits"),
        operand("Substring", ResultText::List,
                {inputString(), required("searchedString", RC_INPUT_STRING_MISSING)},
                "the lines of the text that contain the fragment"),
        operand(
            "Contains", ResultText::Truth,
            {inputString(), required("searchedString", RC_INPUT_STRING_MISSING),
             required("position", RC_POSITION_MISSING, ValueRule::OneOf,
                      {"start", "end", "anywhere"}, 0, "any other value searches anywhere too")},
            "`true` when the text holds the fragment there"),
        operand("Clip", ResultText::Any,
                indexes(ValueRule::CountOrEmpty, nullptr, "`0`: to the end of the text"),
                "characters `startIndex`..`endIndex` inclusive"),
        operand("StringSlice", ResultText::Any,
                indexes(ValueRule::NumberOrEmpty, "negative counts from the end",
                        "negative counts from the end"),
                "characters `startIndex`..`endIndex`-1"),
        operand("StringCrop", ResultText::Any,
                {inputString(), required("startString", RC_START_OR_END_MISSING),
                 required("endString", RC_START_OR_END_MISSING),
                 optional("seekFrom", {"left", "right", ""}, RC_INVALID_STRING_PARAMETER,
                          "which occurrences of the delimiters count")},
                "the text between the two delimiters"),
        operand("IniFileKeyExists", ResultText::Truth, iniProperties(),
                "`true` when the key is in the section"),
        operand("IniFileKeyValue", ResultText::Any, iniProperties(),
                "the key's value, or the empty text"),
        operand("MountServer", ResultText::Any, {absolutePath()},
                "the server of the network mount holding the path, or empty"),
        operand("MountPath", ResultText::Path, {absolutePath()},
                "the mount point of the file system holding the path"),
        operand("MountRemotePath", ResultText::Any, {absolutePath()},
                "the remote path on the server, or the path itself for local mounts"),
    };
}

PluginCatalog makeCorePluginCatalog() {
    PluginCatalog plugin{"CorePlugin",
                         makeCoreExpressions(),
                         {{"defaultWindowsRegistrySection",
                           "",
                           "`32`, `64`, `32or64` or `64or32`; kept for compatibility",
                           {"32", "64", "32or64", "64or32"}}},
                         {}};
    for (const ResultCodeInfo& info : kResultCodes)
        plugin.codes.push_back(CodeSpec{info.code, info.meaning});
    return plugin;
}

const std::vector<PluginCatalog>& catalogs() {
    static const std::vector<PluginCatalog> all = {makeCorePluginCatalog(),
                                                   catalog_detail::makeSystemPluginCatalog()};
    return all;
}

using Selection = std::vector<const PluginCatalog*>;

std::atomic<const Selection*> g_Selected{nullptr};

const Selection& coreOnly() {
    static const Selection core{&catalogs().front()};
    return core;
}

} // namespace

const PluginCatalog* findCatalog(const std::string& pluginName) {
    for (const PluginCatalog& plugin : catalogs())
        if (pluginName == plugin.pluginName)
            return &plugin;
    return nullptr;
}

void selectCatalogs(const std::vector<std::string>& pluginNames) {
    // Every selection made is kept, so that a reader of an earlier one stays valid.
    static std::mutex lock;
    static std::list<Selection> made;
    Selection chosen;
    for (const std::string& name : pluginNames)
        if (const PluginCatalog* plugin = findCatalog(name))
            if (std::find(chosen.begin(), chosen.end(), plugin) == chosen.end())
                chosen.push_back(plugin);
    if (chosen.empty()) {
        g_Selected.store(&coreOnly());
        return;
    }
    std::lock_guard<std::mutex> guard(lock);
    made.push_back(std::move(chosen));
    g_Selected.store(&made.back());
}

void selectCatalog(const std::string& pluginName) {
    selectCatalogs({pluginName});
}

const std::vector<const PluginCatalog*>& selectedCatalogs() {
    const Selection* selected = g_Selected.load();
    return selected ? *selected : coreOnly();
}

const PluginCatalog& selectedCatalog() {
    return *selectedCatalogs().front();
}

const std::vector<ExpressionSpec>& catalog() {
    return selectedCatalog().expressions;
}

const std::vector<SettingSpec>& settings() {
    static std::mutex lock;
    static std::list<std::vector<SettingSpec>> made;
    const Selection& selected = selectedCatalogs();
    if (selected.size() == 1)
        return selected.front()->settings;
    std::vector<SettingSpec> all;
    for (const PluginCatalog* plugin : selected)
        all.insert(all.end(), plugin->settings.begin(), plugin->settings.end());
    std::lock_guard<std::mutex> guard(lock);
    made.push_back(std::move(all));
    return made.back();
}

bool describesPlugin(const std::string& pluginName) {
    return findCatalog(pluginName) != nullptr;
}

const ExpressionSpec* findExpression(const std::string& name) {
    for (const PluginCatalog* plugin : selectedCatalogs())
        for (const ExpressionSpec& expression : plugin->expressions)
            if (name == expression.name)
                return &expression;
    return nullptr;
}

const PropertySpec* findPropertySpec(const ExpressionSpec& expression, const std::string& name) {
    for (const PropertySpec& property : expression.properties) {
        if (!property.numberedName) {
            if (name == property.name)
                return &property;
            continue;
        }
        // "fN.equals": the text before N, then digits without a leading 0,
        // then the text after N.
        const std::string pattern = property.name;
        const std::size_t at = pattern.find('N');
        const std::size_t tail = pattern.size() - at - 1;
        if (name.size() <= at + tail || name.compare(0, at, pattern, 0, at) != 0 ||
            name.compare(name.size() - tail, tail, pattern, at + 1, tail) != 0)
            continue;
        const std::string digits = name.substr(at, name.size() - at - tail);
        if (digits[0] != '0' && digits.find_first_not_of("0123456789") == std::string::npos)
            return &property;
    }
    return nullptr;
}

namespace {

const char* meaningIn(const PluginCatalog& plugin, TErrorCode code) {
    for (const CodeSpec& spec : plugin.codes)
        if (spec.code == code)
            return spec.meaning;
    return "unknown code";
}

} // namespace

const char* codeMeaning(TErrorCode code) {
    return meaningIn(selectedCatalog(), code);
}

const char* codeMeaning(TErrorCode code, const std::string& pluginName) {
    // A plug-in the host has no table of is read with the first chosen one.
    const PluginCatalog* plugin = findCatalog(pluginName);
    return meaningIn(plugin ? *plugin : selectedCatalog(), code);
}

bool neverTruth(ResultText text) {
    return text != ResultText::Any && text != ResultText::Truth;
}

const char* describeResultText(ResultText text) {
    switch (text) {
    case ResultText::Any:
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

bool takesTruthAt(const ExpressionSpec& expression, const std::string& literalType,
                  std::size_t position) {
    if (literalType == "boolean")
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

TErrorCode truthRefusalCode(const ExpressionSpec& expression, const std::string& literalType) {
    // Compare reads a "boolean" child as its literals; the others refuse it
    // as not a truth value.
    if (!literalType.empty())
        return literalRefusalCode(expression, literalType);
    return RC_NOT_A_TRUTH_VALUE;
}

const char* kindName(const ExpressionSpec& expression) {
    if (expression.vector)
        return expression.isOperator ? "vector operator" : "vector operand";
    return expression.isOperator ? "scalar operator" : "scalar operand";
}

std::string describeAccepted(const PropertySpec& property, bool markdown) {
    switch (property.rule) {
    case ValueRule::Text:
        return "any text";
    case ValueRule::OneOf:
        break;
    case ValueRule::Number:
        return "a decimal number";
    case ValueRule::NumberOrEmpty:
        return "a decimal number or the empty text";
    case ValueRule::CountOrEmpty:
        return "a number from 0 or the empty text";
    case ValueRule::Position:
        return "a number from 1";
    case ValueRule::Character:
        return "one character";
    case ValueRule::Count:
        return "a number from 0";
    }
    const std::string mark = markdown ? "`" : "";
    std::string text;
    for (std::size_t i = 0; i < property.values.size(); ++i) {
        if (i > 0)
            text += i + 1 == property.values.size() ? " or " : ", ";
        if (*property.values[i])
            text.append(mark).append(property.values[i]).append(mark);
        else
            text += "the empty text";
    }
    return text;
}

LiteralKind literalKindOf(const PropertySpec& property) {
    switch (property.rule) {
    case ValueRule::Number:
        return LiteralKind::Integer;
    case ValueRule::NumberOrEmpty:
    case ValueRule::CountOrEmpty:
        return LiteralKind::Index;
    case ValueRule::Position:
        return LiteralKind::UInteger;
    case ValueRule::Text:
    case ValueRule::OneOf:
    case ValueRule::Character:
    case ValueRule::Count:
        break;
    }
    return LiteralKind::Text;
}

bool acceptsValue(const PropertySpec& property, const std::string& value) {
    const LiteralReading reading = readLiteral(literalKindOf(property), value);
    switch (property.rule) {
    case ValueRule::Text:
        return true;
    case ValueRule::OneOf:
        for (const char* accepted : property.values)
            if (value == accepted)
                return true;
        return false;
    case ValueRule::Number:
    case ValueRule::NumberOrEmpty:
        return reading.outcome == LiteralReading::Outcome::Whole;
    case ValueRule::CountOrEmpty:
        return reading.outcome == LiteralReading::Outcome::Whole && !reading.negative;
    case ValueRule::Position:
        return reading.outcome != LiteralReading::Outcome::Refused && !reading.negative &&
               reading.value != "0";
    case ValueRule::Character:
        return fromUtf8(value).size() == 1;
    case ValueRule::Count:
        return !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
    }
    return false;
}

TErrorCode refusalCode(const PropertySpec& property, const LiteralReading& reading) {
    if (property.rule == ValueRule::Position && reading.outcome != LiteralReading::Outcome::Refused)
        return RC_INDEX_BEYOND_LIST;
    return property.invalidCode;
}

TErrorCode literalRefusalCode(const ExpressionSpec& expression, const std::string& type) {
    if (type == "octal mode")
        return catalog_detail::kNotAnOctalMode;
    if (type == "Debian version")
        return catalog_detail::kNotADebianVersion;
    if (!expression.literalTypeProperty)
        return RC_NOT_AN_UNSIGNED_NUMBER; // the bitwise operators
    return type == "version" ? RC_INVALID_VERSION : RC_INVALID_ARGUMENT;
}

bool readsAs(const std::string& type, const std::string& text) {
    return readLiteral(literalKindOf(type), text).outcome == LiteralReading::Outcome::Whole;
}

} // namespace corehost
