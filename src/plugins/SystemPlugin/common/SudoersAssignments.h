// sudoers files as sudo reads their Defaults entries.
#pragma once

#include "SystemPlugin/common/Assignments.h"

#include <memory>
#include <string>

namespace SystemPlugin {

class SudoersAssignments {
public:
    // Whether sudo refuses the main file at `path`: world-writable or not
    // owned by uid 0.
    static bool mainFileRefused(const std::string& path);

    // A reader of the flag or option `query.key` ("use_pty", "logfile").
    static std::unique_ptr<AssignmentReader> make(const KeyQuery& query);
};

} // namespace SystemPlugin
