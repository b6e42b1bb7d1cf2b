// Writes a plug-in's description file: what hosts learn the plug-in from.
//
// The file is UTF-8 text, one record a line, fields separated by tabs; a
// backslash escapes a tab (\t), a line break (\n), a carriage return (\r)
// and itself (\\) inside a field. The first line is
// "corehost-plugin-description<TAB>1" (the format and its version), the
// second "plugin<TAB>NAME<TAB>VERSION". Then, in any number:
//   setting NAME DEFAULT NOTE          a plug-in setting
//   code CODE NAME MEANING             a result code
//   expression NAME KIND RESULT SUMMARY
// and, after an expression, what belongs to it:
//   children KINDS LEAST MOST          an operator's children ("*": no limit)
//   pairs                              children come as condition/value pairs
//   truth WHICH CODE                   children that must be truth values
//   literal TYPE PROPERTY CODE         how literal children are read
//   literal-refusal TYPE CODE          another code for one literal type
//   result-property NAME               the result is that property's text
//   property NAME MISSING RULE INVALID NOTE
// and, after a property or a setting:
//   value TEXT                         one value of its set
//   otherwise TEXT                     what a value outside the rule does
//   beyond CODE                        the code for a position beyond lists
//   look-around TEXT                   what to write instead of a look-around
//   numbered                           its "N" stands for a number from 1
// docs/embedding.md spells out every field.
#pragma once

#include "PluginKit/Description.h"
#include "PluginSDK/Plugin.h"

#include <memory>
#include <ostream>
#include <vector>

namespace PluginKit {

// `plugin` (initialised: its name, version and registered names), its rows in
// registration order, and `info`. False, with the reason on `error`, when the
// registered names are not those of the rows, in order.
bool writeDescription(std::ostream& out, const PluginSDK::Plugin& plugin,
                      const std::vector<const ExpressionInfo*>& expressions, const PluginInfo& info,
                      std::ostream& error);

// A plug-in object with its rows, as a plug-in's description program sees it.
struct DescribedPlugin {
    std::unique_ptr<PluginSDK::Plugin> plugin; // initialised
    std::vector<const ExpressionInfo*> expressions;
    PluginInfo info;
};

// Defined by each plug-in in the source of its description program
// (Describe.cpp beside its factory), which describe/DescribeMain.cpp calls.
DescribedPlugin describePlugin();

// The names the description file format uses for the enumerations.
const char* kindName(const ExpressionInfo& expression);
const char* resultTextName(ResultText text);
const char* childKindsName(ChildKinds kinds);
const char* truthChildrenName(TruthChildren which);
const char* valueRuleName(ValueRule rule);

} // namespace PluginKit
