// What RecordField reads: one field of the records of a passwd-style file
// that pass the field tests, optionally split into parts.
#pragma once

#include "PluginKit/PropertyChecks.h"
#include "PluginSDK/Expression.h"
#include "SystemPlugin/common/Assignments.h"
#include "SystemPlugin/common/RecordFilter.h"

#include <cstddef>
#include <string>

namespace SystemPlugin {

class RecordFieldQuery {
public:
    // Missing properties and files that cannot be read are traced to `trace`.
    explicit RecordFieldQuery(const PluginKit::TraceTarget& trace) : m_Trace(trace) {}

    // Required "file" then "field" (-12001); -12002 for a bad field number,
    // a "split" of other than one character, a "network" other than "true" or
    // "false", or a bad field test.
    TErrorCode check(const PluginSDK::Expression& node);

    // The chosen field of every record that passes, in file order (split
    // into its non-empty parts with "split"). 0 or the file's code.
    TErrorCode read(Values& values) const;

private:
    PluginKit::TraceTarget m_Trace;
    std::string m_File;
    std::size_t m_Field = 0;
    std::string m_Split;
    RecordFilter m_Filter;
};

} // namespace SystemPlugin
