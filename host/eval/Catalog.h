// The catalogs of the plug-ins the host knows (CorePlugin's 33 expressions,
// SystemPlugin's 26) as a host sees them: kind, children, properties with
// their codes and accepted values, what each yields, the plug-in's own
// settings and its table of result codes. The catalog of the loaded plug-in,
// chosen by its name, serves the static check of documents, `corehost list
// --json`, the meanings of codes and the tables of expressions in the docs.
#pragma once

#include "PluginSDK/Types.h"
#include "eval/LiteralReading.h"

#include <cstddef>
#include <string>
#include <vector>

namespace corehost {

// What a property's value must be for the expression to read it as meant.
enum class ValueRule {
    Text,          // any text
    OneOf,         // one of the listed values, compared exactly
    Number,        // a decimal number, optionally signed
    NumberOrEmpty, // the same, or the empty text
    CountOrEmpty,  // a decimal number from 0, or the empty text
    Position,      // a decimal number from 1
    Character,     // exactly one character
    Count,         // a decimal number from 0, digits only
};

struct PropertySpec {
    const char* name;
    TErrorCode missingCode; // the code when it is absent; 0 for an optional property
    ValueRule rule;
    std::vector<const char*> values; // OneOf
    // The code for a value the rule refuses; 0 where the expression reads
    // such a value some other way without a code (a likely mistake all the same).
    TErrorCode invalidCode;
    const char* note; // what a value means, for the docs; may be null
    // The name is a pattern: its "N" stands for a field number from 1
    // ("fN.equals" covers "f1.equals", "f12.equals", ...).
    bool numberedName = false;
};

// What an operator's children may yield.
enum class ChildKinds { None, Scalar, ScalarOrVector, Vector };

// What text an expression's result can be, as far as a truth value goes: a
// truth value always, maybe, or never (then of which kind it is, for
// messages). Only the texts "true" and "false" are truth values; "1", "0" and
// "TRUE" are not.
enum class ResultText {
    Any,       // any text: "true" and "false" among them
    Truth,     // "true" or "false"
    Number,    // a decimal number, maybe signed
    HexDigest, // lower-case hex digits
    OctalMode, // octal digits
    Path,      // an absolute path
    List,      // a vector result: never one text
};

// Which of an operator's children must be truth values.
enum class TruthChildren {
    None,
    Every,      // Not, And, Or
    Conditions, // the first of each condition/value pair (Switch)
};

constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);

struct ExpressionSpec {
    const char* name;
    ResultText resultText;
    bool vector;     // a vector result (else scalar): resultText is List
    bool isOperator; // takes children
    ChildKinds children;
    std::size_t minChildren;
    std::size_t maxChildren; // kAnyNumber for no limit
    bool pairs;              // children come as condition/value pairs
    std::vector<PropertySpec> properties;
    // The Compare type that literal ValueOf children are read as: fixed, or
    // named by one of the expression's properties; both null for none.
    const char* literalType;
    const char* literalTypeProperty;
    const char* result; // what it yields, for the docs
    TruthChildren truthChildren = TruthChildren::None;
};

// A setting of the plug-in itself (`corehost --set NAME=VALUE`) and the
// values it takes (any text when none are listed); the plug-in skips any
// other name or value.
struct SettingSpec {
    const char* name;
    const char* defaultValue;
    const char* note;
    std::vector<const char*> values;
};

// A result code and what it means.
struct CodeSpec {
    TErrorCode code;
    const char* meaning;
};

// Everything the host knows of one plug-in.
struct PluginCatalog {
    const char* pluginName;                  // as its getName() answers
    std::vector<ExpressionSpec> expressions; // in registration order
    std::vector<SettingSpec> settings;
    std::vector<CodeSpec> codes; // every code it returns, 0 first
};

// The catalog of the plug-in whose getName() is `pluginName`, or null.
const PluginCatalog* findCatalog(const std::string& pluginName);

// Chooses the catalogs that catalog(), findExpression(), settings() and
// codeMeaning() use: those of the loaded plug-ins named `pluginNames`, in load
// order (a plug-in the host does not know adds none). A name is registered by
// one loaded plug-in only, so the entry found for a node's name is the one of
// the plug-in that made the node. CorePlugin's alone is chosen until this is
// called; with no known plug-in, too.
void selectCatalogs(const std::vector<std::string>& pluginNames);
void selectCatalog(const std::string& pluginName);
const PluginCatalog& selectedCatalog(); // the first chosen
const std::vector<const PluginCatalog*>& selectedCatalogs();

// The settings of the chosen plug-ins.
const std::vector<SettingSpec>& settings();

// Whether the host has a catalog of the plug-in that calls itself
// `pluginName`; another plug-in's trees are checked against its registered
// names only.
bool describesPlugin(const std::string& pluginName);

// The expressions of the first chosen catalog, in registration order.
const std::vector<ExpressionSpec>& catalog();

// The entry of `name` (compared exactly) in the chosen catalogs, or null.
const ExpressionSpec* findExpression(const std::string& name);

// Whether `name` is a property of `expression`: a name it lists, or one
// that a numbered name ("fN.equals") stands for; the entry, or null.
const PropertySpec* findPropertySpec(const ExpressionSpec& expression, const std::string& name);

// The meaning of `code` in the first chosen plug-in's table, or "unknown code".
const char* codeMeaning(TErrorCode code);
// The meaning of `code` in the table of the plug-in `pluginName` (in the
// first chosen table for a plug-in the host does not know).
const char* codeMeaning(TErrorCode code, const std::string& pluginName);

// Whether no input can make a result of this kind a truth value.
bool neverTruth(ResultText text);

// "a number", "a hex digest", "a truth value", "any text", ...
const char* describeResultText(ResultText text);

// Whether the operator reads its child at `position` as a truth value, when
// its literal type (Compare's "type") is `literalType`.
bool takesTruthAt(const ExpressionSpec& expression, const std::string& literalType,
                  std::size_t position);

// The code evaluation gives for a child that is not a truth value there.
TErrorCode truthRefusalCode(const ExpressionSpec& expression, const std::string& literalType);

// "scalar operand", "scalar operator", "vector operand" or "vector operator".
const char* kindName(const ExpressionSpec& expression);

// What the property's rule accepts: "version, integer or boolean", "a number
// from 1", ...; with `markdown`, listed values are in backquotes.
std::string describeAccepted(const PropertySpec& property, bool markdown);

// Whether `value` meets the property's rule.
bool acceptsValue(const PropertySpec& property, const std::string& value);

// How the expression reads a value of a number rule (Text for the others).
LiteralKind literalKindOf(const PropertySpec& property);

// The code for a value the property's rule refuses, as evaluation returns it
// for `reading` (a position 0 or below lies beyond every list).
TErrorCode refusalCode(const PropertySpec& property, const LiteralReading& reading);

// The code the expression fails with when a literal child cannot be read as
// `type` (the Compare type, or the number a bitwise operator takes).
TErrorCode literalRefusalCode(const ExpressionSpec& expression, const std::string& type);

// Whether `text`, as written and with nothing left over, is a value of the
// literal type `type` (a Compare type such as "version", or SystemPlugin's
// "octal mode" and "Debian version"): read whole, nothing ignored.
bool readsAs(const std::string& type, const std::string& text);

} // namespace corehost
