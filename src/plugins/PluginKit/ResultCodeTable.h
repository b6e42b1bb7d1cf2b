// A plug-in's table of result codes: each code with its name and meaning,
// and the lookups hosts use to print meanings. Header-only, installed.
#pragma once

#include "PluginSDK/Types.h"

#include <cstddef>

namespace PluginKit {

struct ResultCodeInfo {
    TErrorCode code;
    const char* name;
    const char* meaning;
};

// The row of `code` in `table`, or null for a code the table does not hold.
template <std::size_t N>
const ResultCodeInfo* findCodeIn(const ResultCodeInfo (&table)[N], TErrorCode code) {
    for (const ResultCodeInfo& info : table)
        if (info.code == code)
            return &info;
    return nullptr;
}

// The meaning of `code` in `table`, or "unknown code".
template <std::size_t N>
const char* describeCodeIn(const ResultCodeInfo (&table)[N], TErrorCode code) {
    const ResultCodeInfo* info = findCodeIn(table, code);
    return info ? info->meaning : "unknown code";
}

} // namespace PluginKit
