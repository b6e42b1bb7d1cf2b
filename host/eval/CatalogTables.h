// Inside the catalogs: the builders the tables of the plug-ins are written
// with, and the table of each plug-in besides CorePlugin's.
#pragma once

#include "eval/Catalog.h"

namespace corehost {
namespace catalog_detail {

using Values = std::vector<const char*>;

extern const Values kRelations; // "eq", "ne", "gt", "ge", "lt", "le"
extern const Values kTruth;     // "true", "false"

PropertySpec required(const char* name, TErrorCode missing, const char* note = nullptr);
PropertySpec required(const char* name, TErrorCode missing, ValueRule rule, Values values,
                      TErrorCode invalid, const char* note = nullptr);
PropertySpec optional(const char* name, const char* note);
PropertySpec optional(const char* name, Values values, TErrorCode invalid, const char* note);

// A result of ResultText::List is a vector result.
ExpressionSpec operand(const char* name, ResultText text, std::vector<PropertySpec> properties,
                       const char* result);
ExpressionSpec op(const char* name, ResultText text, ChildKinds children, std::size_t least,
                  std::size_t most, std::vector<PropertySpec> properties, const char* result);

// The codes SystemPlugin's operators give for a child they cannot read as an
// octal mode or a Debian version.
extern const TErrorCode kNotAnOctalMode;
extern const TErrorCode kNotADebianVersion;

// SystemPlugin's 26 expressions, settings and codes.
PluginCatalog makeSystemPluginCatalog();

} // namespace catalog_detail
} // namespace corehost
