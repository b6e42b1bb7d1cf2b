// What a loaded plug-in says of itself, read from the description file
// installed beside it (lib<Name>.description, written when the plug-in is
// built from the rows its factory is built from): its expressions with their
// kinds, children, properties and value sets, what their results are, its
// settings and its result codes. The host knows no plug-in but through these.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/Types.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corehost {

using PluginKit::ChildKinds;
using PluginKit::kAnyNumber;
using PluginKit::ResultText;
using PluginKit::TruthChildren;
using PluginKit::ValueRule;

struct PropertyDescription {
    std::string name;
    TErrorCode missingCode = 0; // 0: optional
    ValueRule rule = ValueRule::Text;
    std::vector<std::string> values; // ValueRule::OneOf
    TErrorCode invalidCode = 0;      // 0: read another way, as `otherwise` says
    std::string_view otherwise;
    TErrorCode beyondCode = 0;   // ValueRule::Position: 0 lies beyond every list
    unsigned long long most = 0; // Count, Ordinal: the largest value taken (0: no limit)
    std::string shape;           // Shaped: the RE2 pattern the whole value matches
    // Where it applies, by another property (PluginKit::Condition); `on`
    // empty: everywhere.
    struct Condition {
        std::string on;
        std::vector<std::string> values;
        bool unless = false;
        TErrorCode requiredCode = 0;
        TErrorCode refusedCode = 0;
        std::string onlyValue; // empty: any value is refused
    } condition;
    std::string_view note;
    std::string_view lookAroundHint;     // what to write instead of a look-around in a pattern
    bool numbered = false;               // "fN.equals" stands for "f1.equals", "f2.equals", ...
    unsigned long long numberedMost = 0; // the largest N (0: no limit)
    // Or its name's `placeholder` stands for one of `nameParts`.
    std::string placeholder;
    std::vector<std::string> nameParts;

    // Whether `name` is this property's name, or one its pattern stands for.
    bool named(const std::string& candidate) const;
    // Whether its name is a pattern (numbered, or with a placeholder).
    bool isPattern() const { return numbered || !placeholder.empty(); }
};

struct ExpressionDescription {
    std::string name;
    bool vector = false;
    bool isOperator = false;
    ResultText result = ResultText::Any;
    std::string resultProperty; // ResultText::Property
    ChildKinds children = ChildKinds::None;
    std::size_t minChildren = 0;
    std::size_t maxChildren = 0; // kAnyNumber: no limit
    bool pairs = false;
    TruthChildren truthChildren = TruthChildren::None;
    TErrorCode notTruthCode = 0;
    std::vector<PropertyDescription> properties;
    // How literal children are read: a fixed literal type, or the one a
    // property names; empty for neither.
    std::string literalType;
    std::string literalTypeProperty;
    TErrorCode literalRefusedCode = 0;
    std::vector<std::pair<std::string, TErrorCode>> literalRefusals; // other codes by type
    std::string_view summary;

    // The row of the property `name` (numbered names included), or null.
    const PropertyDescription* findProperty(const std::string& name) const;
    // "scalar operand", "scalar operator", "vector operand" or "vector operator".
    const char* kindName() const;
    // The code evaluation refuses a literal child with when it cannot read it as `type`.
    TErrorCode literalRefusal(const std::string& type) const;
    // Whether it yields the text of one of its properties, as written.
    bool isLiteral() const { return result == ResultText::Property; }
};

struct SettingDescription {
    std::string name;
    std::string_view defaultValue;
    std::string_view note;
    std::vector<std::string> values; // none: any text
};

struct CodeDescription {
    TErrorCode code = 0;
    std::string_view name;
    std::string_view meaning;
};

// The texts for people (notes, summaries, meanings: the std::string_view
// members) are views into the description's own copy of its file, each
// followed by a NUL: they live as long as the description.
class PluginDescription {
public:
    PluginDescription() = default;
    PluginDescription(const PluginDescription&) = delete;
    PluginDescription& operator=(const PluginDescription&) = delete;

    std::string source; // the file it was read from
    std::string plugin; // what the plug-in calls itself
    std::string version;
    std::vector<SettingDescription> settings;
    std::vector<CodeDescription> codes;
    std::vector<ExpressionDescription> expressions; // in registration order

    // The expression `name`, or null.
    const ExpressionDescription* findExpression(const std::string& name) const;
    const SettingDescription* findSetting(const std::string& name) const;
    // The meaning of `code`, or "unknown code".
    const char* codeMeaning(TErrorCode code) const;

    // Indexes the expressions by name, once they are all there; false when a
    // name comes twice.
    bool index();

    // The file's text, read in place: the views above point into it.
    std::string text;

private:
    std::vector<std::size_t> m_ByName; // positions in `expressions`, sorted by name
};

// The path of the description of the plug-in module at `modulePath`: beside
// it, its file name up to ".so" followed by ".description"
// (lib/libCorePlugin.so: lib/libCorePlugin.description).
// Reads `text` as decimal digits only into `value`; false for anything else
// or a number above 2^64 - 1.
bool readDigits(std::string_view text, unsigned long long& value);

std::string descriptionPathOf(const std::string& modulePath);

// Reads the description file at `path` as untrusted input. Null when there is
// no such file (`missing` set) or when it cannot be read or is malformed
// (`error` names the file, the line and what is wrong).
std::shared_ptr<const PluginDescription> readDescription(const std::string& path, bool& missing,
                                                         std::string& error);

// Reads a description from `text`; `source` names it in errors.
std::shared_ptr<const PluginDescription>
parseDescription(const std::string& text, const std::string& source, std::string& error);

// Whether no input can make a result of this kind a truth value.
bool neverTruth(ResultText text);
// "a number", "a hex digest", "a truth value", "any text", ...
const char* describeResultText(ResultText text);

} // namespace corehost
