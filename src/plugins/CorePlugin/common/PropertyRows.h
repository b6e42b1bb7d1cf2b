// The property rows several of CorePlugin's expressions share, as their
// descriptions and their checks read them.
#pragma once

#include "CorePlugin/ResultCodes.h"
#include "PluginKit/Description.h"
#include "PluginKit/TruthValues.h"

namespace CorePlugin {

// One path, taken literally: "*", "?" and "[" are part of a file name there.
constexpr PluginKit::PropertyInfo absolutePathRow() {
    return PluginKit::ruled(PluginKit::required(L"absolutePath", RC_PATH_PROPERTY_MISSING),
                            PluginKit::ValueRule::Path, 0);
}

constexpr PluginKit::PropertyInfo inputStringRow() {
    return PluginKit::required(L"inputString", RC_INPUT_STRING_MISSING);
}

// An optional "true"/"false" that any other text leaves false, without a code.
constexpr PluginKit::PropertyInfo truthRow(const wchar_t* name, const char* note) {
    PluginKit::PropertyInfo property =
        PluginKit::oneOf(PluginKit::optional(name, note), PluginKit::kTruthTexts, 0);
    property.otherwise = "it reads as false";
    return property;
}

// "startIndex" or "endIndex" of Clip and StringSlice, read by `rule`.
constexpr PluginKit::PropertyInfo sliceIndexRow(const wchar_t* name, PluginKit::ValueRule rule,
                                                const char* note) {
    return PluginKit::ruled(PluginKit::required(name, RC_START_OR_END_MISSING, note), rule,
                            RC_INVALID_STRING_PARAMETER);
}

constexpr PluginKit::PropertyInfo ignoreCaseRow() {
    return truthRow(L"ignoreCase", "`true`: without regard to case");
}

constexpr PluginKit::PropertyInfo filterRow() {
    return PluginKit::optional(L"filter", "a wildcard pattern; none: every value");
}

// The file, section and key of the INI probes.
inline constexpr PluginKit::PropertyInfo kIniPropertyRows[] = {
    PluginKit::required(L"file", RC_PATH_OR_FILE_MISSING),
    PluginKit::required(L"section", RC_ATTRIBUTE_OR_SECTION_MISSING),
    PluginKit::required(L"key", RC_INI_KEY_MISSING)};

// The path of the mount probes.
inline constexpr PluginKit::PropertyInfo kMountPropertyRows[] = {absolutePathRow()};

} // namespace CorePlugin
