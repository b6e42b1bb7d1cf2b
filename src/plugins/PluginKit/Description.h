// What a plug-in says of itself: each expression's kind, children, properties
// with their value sets and codes, the kind of text its result is, and the
// plug-in's settings and result codes. A plug-in writes these rows once; its
// factory table is built from them, its property checks read their value sets
// from them, and the build writes them out as the plug-in's description file
// (DescriptionWriter.h), from which hosts learn the plug-in.
#pragma once

#include "PluginKit/ResultCodeTable.h"
#include "PluginSDK/Types.h"

#include <cstddef>
#include <cwchar>

namespace PluginKit {

// A constant array seen as a range: the rows refer to arrays of static
// storage, so that every row is a constant.
template <typename T> class Span {
public:
    constexpr Span() = default;
    template <std::size_t N> constexpr Span(const T (&items)[N]) : m_Items(items), m_Size(N) {}

    constexpr const T* begin() const { return m_Items; }
    constexpr const T* end() const { return m_Items + m_Size; }
    constexpr std::size_t size() const { return m_Size; }
    constexpr bool empty() const { return m_Size == 0; }
    constexpr const T& operator[](std::size_t index) const { return m_Items[index]; }

private:
    const T* m_Items = nullptr;
    std::size_t m_Size = 0;
};

using Values = Span<const wchar_t*>;

// What a property's value must be for the expression to read it as meant.
enum class ValueRule {
    Text,          // any text
    OneOf,         // one of the listed values, compared exactly
    Number,        // a signed decimal number
    NumberOrEmpty, // the same, or the empty text, and nothing after the number
    CountOrEmpty,  // a decimal number from 0, or the empty text
    Position,      // a decimal number from 1 (0 lies beyond every list)
    Character,     // exactly one character
    Count,         // a decimal number from 0, digits only
    Pattern,       // a regular expression in RE2's syntax
    GroupPattern,  // the same, with at least one capture group
    Path,          // one path, taken literally (no glob)
    Paths,         // paths separated by ';', each may be a glob
    Ordinal,       // a decimal number from 1, digits only, without a leading 0
    NonEmpty,      // any text but the empty one
    Shaped,        // the whole text matches `PropertyInfo::shape`, an RE2 pattern
};

// Where a property applies, by another property `on`: where `on` is given
// (no `values`) or holds one of `values`; with `unless`, everywhere else.
// Where it applies a missing one fails with `requiredCode` (0: optional);
// where it does not, a given one fails with `refusedCode` (0: ignored), or,
// with `onlyValue`, only that value of it does.
struct Condition {
    const wchar_t* on = nullptr;
    Values values;
    bool unless = false;
    TErrorCode requiredCode = 0;
    TErrorCode refusedCode = 0;
    const wchar_t* onlyValue = nullptr;
};

struct PropertyInfo {
    const wchar_t* name = nullptr;
    // The code when the property is absent; 0 for an optional property.
    TErrorCode missingCode = 0;
    ValueRule rule = ValueRule::Text;
    Values values; // OneOf
    // The code for a value the rule refuses; 0 where the expression reads
    // such a value another way, without a code (`otherwise` says how).
    TErrorCode invalidCode = 0;
    const char* otherwise = nullptr;
    // Position: the code for 0, a position beyond every list.
    TErrorCode beyondCode = 0;
    // Count, Ordinal: the largest value taken (0: no limit).
    unsigned long long most = 0;
    const char* shape = nullptr; // Shaped
    Condition condition;
    const char* note = nullptr; // what a value means, for people
    // What to write instead, for a pattern that uses a look-ahead or
    // look-behind (RE2 has neither); null for none.
    const char* lookAroundHint = nullptr;
    // The name is a pattern whose "N" stands for a field number from 1
    // ("fN.equals" covers "f1.equals", "f12.equals", ...), up to
    // `numberedMost` when that is not 0.
    bool numbered = false;
    unsigned numberedMost = 0;
    // Or whose `placeholder` stands for one of `nameParts` ("FIELD.equals"
    // with the parts "URIs" and "Suites" covers "URIs.equals" and
    // "Suites.equals").
    const wchar_t* placeholder = nullptr;
    Values nameParts;
};

// What text a result is, as far as a reader of it can tell: any text, a
// truth value always, or never one (then of which kind).
enum class ResultText {
    Any,
    Truth,     // "true" or "false"
    Number,    // a decimal number, maybe signed
    HexDigest, // lower-case hex digits
    OctalMode, // octal digits
    Path,      // an absolute path
    List,      // a vector result
    Property,  // the text of the property `ExpressionInfo::resultProperty`, as written
};

// What an operator's children may yield.
enum class ChildKinds { None, Scalar, ScalarOrVector, Vector };

// Which of an operator's children must be truth values.
enum class TruthChildren {
    None,
    Every,      // every child
    Conditions, // the first of each condition/value pair
};

inline constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);

// A literal type with the code the operator refuses a child with when the
// type cannot read it.
struct LiteralRefusal {
    const wchar_t* type;
    TErrorCode code;
};

// How an operator reads literal children: as a fixed literal type, or as the
// type its property `typeProperty` names (a value of that property that names
// no literal type is read as text). Literal type names are those of
// LiteralReading.h.
struct LiteralInfo {
    const wchar_t* type = nullptr;
    const wchar_t* typeProperty = nullptr;
    TErrorCode refusedCode = 0;         // a child the type cannot read
    Span<LiteralRefusal> refusedByType; // other codes for some types
};

struct ExpressionInfo {
    const wchar_t* name = nullptr;
    bool vector = false;     // a vector result (else scalar)
    bool isOperator = false; // takes children
    ResultText result = ResultText::Any;
    const wchar_t* resultProperty = nullptr; // for ResultText::Property
    ChildKinds children = ChildKinds::None;
    std::size_t minChildren = 0;
    std::size_t maxChildren = 0; // kAnyNumber for no limit
    bool pairs = false;          // children come as condition/value pairs
    TruthChildren truthChildren = TruthChildren::None;
    TErrorCode notTruthCode = 0; // for a child that is no truth value there
    Span<PropertyInfo> properties;
    LiteralInfo literal;
    const char* summary = nullptr; // what it yields, for people
};

// A setting of the plug-in itself (Plugin::setProperty) and the values it
// takes (any text when none are listed); the plug-in skips any other.
struct SettingInfo {
    const wchar_t* name;
    const char* defaultValue; // UTF-8
    const char* note;
    Values values;
};

// What a plug-in says of itself besides its expressions (the rows of its
// factory table) and what its object answers (name, version).
struct PluginInfo {
    Span<SettingInfo> settings;
    Span<ResultCodeInfo> codes; // every code it returns, 0 first
};

// Builders, so that rows read like their descriptions.

constexpr PropertyInfo required(const wchar_t* name, TErrorCode missing,
                                const char* note = nullptr) {
    PropertyInfo property{};
    property.name = name;
    property.missingCode = missing;
    property.note = note;
    return property;
}

constexpr PropertyInfo optional(const wchar_t* name, const char* note = nullptr) {
    PropertyInfo property{};
    property.name = name;
    property.note = note;
    return property;
}

// `property` whose value must meet `rule`, else `invalid`.
constexpr PropertyInfo ruled(PropertyInfo property, ValueRule rule, TErrorCode invalid) {
    property.rule = rule;
    property.invalidCode = invalid;
    return property;
}

// `property` whose value must be one of `values`, else `invalid`.
constexpr PropertyInfo oneOf(PropertyInfo property, Values values, TErrorCode invalid) {
    property.rule = ValueRule::OneOf;
    property.values = values;
    property.invalidCode = invalid;
    return property;
}

// `property` whose value must meet `rule` and be at most `most`, else `invalid`.
constexpr PropertyInfo ruledUpTo(PropertyInfo property, ValueRule rule, unsigned long long most,
                                 TErrorCode invalid) {
    property = ruled(property, rule, invalid);
    property.most = most;
    return property;
}

// `property` whose whole value must match the RE2 pattern `shape`, else `invalid`.
constexpr PropertyInfo shaped(PropertyInfo property, const char* shape, TErrorCode invalid) {
    property = ruled(property, ValueRule::Shaped, invalid);
    property.shape = shape;
    return property;
}

// `property` that applies only where `on` is given (no `values`) or holds one
// of `values`: required there with `required`, refused elsewhere with `refused`.
constexpr PropertyInfo appliesWhen(PropertyInfo property, const wchar_t* on, Values values,
                                   TErrorCode required, TErrorCode refused) {
    property.condition.on = on;
    property.condition.values = values;
    property.condition.requiredCode = required;
    property.condition.refusedCode = refused;
    return property;
}

// The same, applying everywhere except where `on` is given (no `values`) or
// holds one of `values`.
constexpr PropertyInfo appliesUnless(PropertyInfo property, const wchar_t* on, Values values,
                                     TErrorCode required, TErrorCode refused) {
    property = appliesWhen(property, on, values, required, refused);
    property.condition.unless = true;
    return property;
}

// `property` whose value `value` only is refused where its condition does
// not hold.
constexpr PropertyInfo refusingOnly(PropertyInfo property, const wchar_t* value) {
    property.condition.onlyValue = value;
    return property;
}

constexpr ExpressionInfo operand(const wchar_t* name, ResultText result,
                                 Span<PropertyInfo> properties, const char* summary) {
    ExpressionInfo info{};
    info.name = name;
    info.vector = result == ResultText::List;
    info.result = result;
    info.properties = properties;
    info.summary = summary;
    return info;
}

constexpr ExpressionInfo operation(const wchar_t* name, ResultText result, ChildKinds children,
                                   std::size_t least, std::size_t most,
                                   Span<PropertyInfo> properties, const char* summary) {
    ExpressionInfo info = operand(name, result, properties, summary);
    info.isOperator = true;
    info.children = children;
    info.minChildren = least;
    info.maxChildren = most;
    return info;
}

// `info` whose children at `which` must be truth values, else `code`.
constexpr ExpressionInfo takingTruths(ExpressionInfo info, TruthChildren which, TErrorCode code) {
    info.truthChildren = which;
    info.notTruthCode = code;
    return info;
}

// `info` that reads its literal children as `literal` says.
constexpr ExpressionInfo readingLiterals(ExpressionInfo info, LiteralInfo literal) {
    info.literal = literal;
    return info;
}

// `info` whose children come as condition/value pairs.
constexpr ExpressionInfo inPairs(ExpressionInfo info) {
    info.pairs = true;
    return info;
}

// `info` whose result is the text of its property `name`, as written.
constexpr ExpressionInfo yieldingProperty(ExpressionInfo info, const wchar_t* name) {
    info.result = ResultText::Property;
    info.resultProperty = name;
    return info;
}

// The property row named `name`, or null.
const PropertyInfo* findProperty(const ExpressionInfo& expression, const wchar_t* name);

// The position of `value` among `values` (compared exactly), or -1.
int indexOf(Values values, const wchar_t* value);

} // namespace PluginKit
