// FileSearch: the paths below its roots that pass every test it is given, as
// `find -H ROOTS -xdev TESTS` lists them, sorted by bytes. The roots are
// "absolutePath" (paths and globs), the values of its one optional vector
// child, or with "localMounts" every mounted local file system.
#pragma once

#include "PluginKit/Description.h"
#include "PluginKit/SingleOperator.h"
#include "PluginSDK/VectorOperator.h"

namespace SystemPlugin {

class FileSearch
    : public PluginKit::SingleOperator<PluginSDK::VectorOperator, PluginSDK::StringVector> {
public:
    // What the expression says of itself: its row of the plug-in's table.
    static const PluginKit::ExpressionInfo kInfo;

    using PluginSDK::VectorOperator::update;

    // A second child: -10004.
    TErrorCode update(const PluginSDK::StringVector& value) override;
    // -12001 without roots; -12002 for a bad value or two ways of giving
    // roots; -12018 for a mode that is not octal; -12010 for a root that does
    // not exist (unless "ifExists"); -12020 for a directory that cannot be
    // read below a root; -12024 for a root on a network file system; -12012
    // beyond 100,000 results or 10,000,000 entries.
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override;
};

} // namespace SystemPlugin
