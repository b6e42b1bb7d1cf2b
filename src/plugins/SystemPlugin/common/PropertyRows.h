// The property rows several of SystemPlugin's expressions share, as their
// descriptions and their checks read them.
#pragma once

#include "PluginKit/Description.h"
#include "PluginKit/TruthValues.h"
#include "SystemPlugin/ResultCodes.h"

namespace SystemPlugin {

// Exactly "true" or "false" (-12002 for any other text).
constexpr PluginKit::PropertyInfo truthRow(const wchar_t* name, const char* note) {
    return PluginKit::oneOf(PluginKit::optional(name, note), PluginKit::kTruthTexts,
                            RC_PROPERTY_VALUE_INVALID);
}

// A value of `values` (-12002 for any other text).
constexpr PluginKit::PropertyInfo choiceRow(const wchar_t* name, PluginKit::Values values,
                                            const char* note) {
    return PluginKit::oneOf(PluginKit::optional(name, note), values, RC_PROPERTY_VALUE_INVALID);
}

// One path, taken literally.
constexpr PluginKit::PropertyInfo pathRow(const wchar_t* name = L"absolutePath",
                                          const char* note = nullptr) {
    return PluginKit::ruled(PluginKit::required(name, RC_PROPERTY_MISSING, note),
                            PluginKit::ValueRule::Path, 0);
}

// Paths separated by ';', globs among them.
constexpr PluginKit::PropertyInfo pathsRow(PluginKit::PropertyInfo property) {
    return PluginKit::ruled(property, PluginKit::ValueRule::Paths, 0);
}

constexpr PluginKit::PropertyInfo networkRow() {
    return truthRow(L"network", "`true`: also read on network and FUSE file systems (else -12024)");
}

constexpr PluginKit::PropertyInfo followRow() {
    return truthRow(L"follow", "`false`: the link itself (default `true`)");
}

constexpr PluginKit::PropertyInfo ignoreCaseRow() {
    return truthRow(L"ignoreCase", "`true`: without regard to case");
}

constexpr PluginKit::PropertyInfo filterRow() {
    return PluginKit::optional(L"filter",
                               "a wildcard pattern over the whole text; not with `pattern`");
}

// What RE2 has instead of a look-ahead or look-behind.
inline constexpr const char* kLookAroundHint =
    "RE2 has no look-ahead or look-behind: match what must not be there with a second TextMatch "
    "under Not, or use Select with \"invert\"";

constexpr PluginKit::PropertyInfo patternRow(PluginKit::PropertyInfo property) {
    property = PluginKit::ruled(property, PluginKit::ValueRule::Pattern, RC_INVALID_PATTERN);
    property.lookAroundHint = kLookAroundHint;
    return property;
}

// A pattern that must have a capture group (-12021 without).
constexpr PluginKit::PropertyInfo groupPatternRow(PluginKit::PropertyInfo property) {
    property = PluginKit::ruled(property, PluginKit::ValueRule::GroupPattern, RC_INVALID_PATTERN);
    property.lookAroundHint = kLookAroundHint;
    return property;
}

// "pattern" beside "filter": never with it (-12002), and with `required`, one
// of the two must be there (-12001 without either).
constexpr PluginKit::PropertyInfo optionalPatternRow(bool required = false) {
    return PluginKit::appliesUnless(
        patternRow(
            PluginKit::optional(L"pattern", "found anywhere unless anchored; not with `filter`")),
        L"filter", PluginKit::Values(), required ? TErrorCode{RC_PROPERTY_MISSING} : TErrorCode{0},
        RC_PROPERTY_VALUE_INVALID);
}

// The path and "network" of a probe that reads one path.
inline constexpr PluginKit::PropertyInfo kPathPropertyRows[] = {pathRow(), networkRow()};

// The path, "follow" and "network" of a probe of a path's attributes.
inline constexpr PluginKit::PropertyInfo kFollowedPathPropertyRows[] = {pathRow(), followRow(),
                                                                        networkRow()};

} // namespace SystemPlugin
