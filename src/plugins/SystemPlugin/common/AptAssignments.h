// apt.conf files as apt's configuration reader reads them.
#pragma once

#include "PluginKit/FileOutcome.h"
#include "SystemPlugin/common/Assignments.h"

#include <string>
#include <vector>

namespace SystemPlugin {

class AptAssignments {
public:
    // The files apt reads from a parts directory (apt.conf.d), sorted by
    // bytes: regular files (links followed) not starting with '.', without
    // an extension or ending in ".conf", whose names hold only letters,
    // digits, '_', '-', ':' and '.', and do not end in '.'. A directory that
    // does not exist adds nothing.
    static PluginKit::FileOutcome parts(const std::string& directory,
                                        std::vector<std::string>& paths);

    // A reader of the key `query.key` ("APT::Get::AllowUnauthenticated").
    static std::unique_ptr<AssignmentReader> make(const KeyQuery& query);
};

} // namespace SystemPlugin
