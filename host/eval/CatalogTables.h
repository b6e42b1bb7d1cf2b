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

ExpressionSpec operand(const char* name, bool vector, std::vector<PropertySpec> properties,
                       const char* result);
ExpressionSpec op(const char* name, bool vector, ChildKinds children, std::size_t least,
                  std::size_t most, std::vector<PropertySpec> properties, const char* result);

// SystemPlugin's 26 expressions, settings and codes.
PluginCatalog makeSystemPluginCatalog();

} // namespace catalog_detail
} // namespace corehost
