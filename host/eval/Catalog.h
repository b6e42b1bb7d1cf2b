// The catalog of CorePlugin's 33 expressions as a host sees them: kind,
// children, properties with their codes and accepted values, and what each
// yields. One table serves the static check of documents, `corehost list
// --json` and the table of expressions in the README.
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
};

// What an operator's children may yield.
enum class ChildKinds { None, Scalar, ScalarOrVector };

constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);

struct ExpressionSpec {
    const char* name;
    bool vector;     // a vector result (else scalar)
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
};

// A plug-in setting (`corehost --set NAME=VALUE`) and the values it takes;
// the plug-in skips any other name or value.
struct SettingSpec {
    const char* name;
    std::vector<const char*> values;
};

// CorePlugin's settings.
const std::vector<SettingSpec>& settings();

// Whether the catalog describes the plug-in that calls itself `pluginName`;
// another plug-in's trees are checked against its registered names only.
bool describesPlugin(const std::string& pluginName);

// The 33 expressions in registration order.
const std::vector<ExpressionSpec>& catalog();

// The entry of `name` (compared exactly), or null.
const ExpressionSpec* findExpression(const std::string& name);

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

} // namespace corehost
