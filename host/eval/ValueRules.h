// What a property's rule accepts, how evaluation reads a value of it, and the
// code it refuses one with: the host's reading of the rules plug-ins give
// their properties in their descriptions.
#pragma once

#include "PluginKit/LiteralReading.h"
#include "eval/PluginDescription.h"

#include <string>

namespace corehost {

// What the property's rule accepts: "version, integer or boolean", "a number
// from 1", ...; with `markdown`, listed values are in backquotes.
std::string describeAccepted(const PropertyDescription& property, bool markdown);

// How the expression reads a value of a number rule (Text for the others).
PluginKit::LiteralKind literalKindOf(const PropertyDescription& property);

// How `text` reads as `kind`.
PluginKit::LiteralReading readLiteral(PluginKit::LiteralKind kind, const std::wstring& text);

// The literal kind a type name stands for (Text for a name that is none).
PluginKit::LiteralKind literalKindNamed(const std::string& type);

// Whether `value` meets the property's rule; `why` says what RE2 found wrong
// with a pattern, or which glob character a literal path holds.
bool acceptsValue(const PropertyDescription& property, const std::wstring& value,
                  std::string* why = nullptr);

// The code for a value the rule refuses, as evaluation returns it for
// `reading` (a position 0 or below lies beyond every list).
TErrorCode refusalCode(const PropertyDescription& property,
                       const PluginKit::LiteralReading& reading);

} // namespace corehost
