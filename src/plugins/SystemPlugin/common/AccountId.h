// Texts read as user and group ids, as glibc reads the id fields of
// /etc/passwd and /etc/group: "01000", " 1000" and "+1000" are 1000.
#pragma once

#include "SystemPlugin/common/PropertyRows.h"

#include <cstdint>
#include <string>

namespace SystemPlugin {

// Leading white space, an optional sign, then decimal digits to the end of
// the text, read as strtoul reads them (a '-' negates modulo 2^64), within 32
// bits. False for any other text, the empty one included, and for a value
// beyond 32 bits: glibc refuses such a record.
bool readAccountId(const std::wstring& text, std::uint32_t& id);

// "numeric" of Duplicates and Difference: "true" compares values as ids.
constexpr PluginKit::PropertyInfo numericRow() {
    return truthRow(L"numeric", "`true`: values compare as user and group ids as glibc reads "
                                "them (`01000` is `1000`); a value that is none: -12025");
}

// The key values are compared by: the text (lower-cased with `ignoreCase`),
// or its id in decimal with `numeric`; false for a text that is no id.
bool comparisonKey(const std::wstring& text, bool ignoreCase, bool numeric, std::wstring& key);

} // namespace SystemPlugin
