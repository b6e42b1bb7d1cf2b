// What RecordField reads: one field of the records of a passwd-style file
// that pass the field tests, optionally split into parts.
#pragma once

#include "PluginSDK/Expression.h"
#include "SystemPlugin/common/Assignments.h"
#include "SystemPlugin/common/ProbeChecks.h"
#include "SystemPlugin/common/RecordFilter.h"

#include <cstddef>
#include <string>
#include <vector>

namespace SystemPlugin {

class RecordFieldQuery {
public:
    // Failures are recorded in `checks`, the first one's code kept.
    explicit RecordFieldQuery(ProbeChecks& checks) : m_Checks(checks) {}

    // Required "file" then "field" (-12001); -12002 for a bad field number,
    // a "split" of other than one character, a "network" other than "true" or
    // "false", or a bad field test.
    TErrorCode check(const PluginSDK::Expression& node);

    // The chosen field of every record that passes, in file order (split
    // into its non-empty parts with "split"). 0 or the file's code (-12024
    // on a network file system unless "network" is "true").
    TErrorCode read(Values& values);

private:
    // Every property name a field test can have, in the order they are applied.
    static const std::vector<std::wstring>& testNames();

    ProbeChecks& m_Checks;
    std::string m_File;
    std::size_t m_Field = 0;
    std::string m_Split;
    RecordFilter m_Filter;
};

} // namespace SystemPlugin
