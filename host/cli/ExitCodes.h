// The exit status of corehost, for every command.
#pragma once

namespace corehost {

enum ExitCode : int {
    kExitSuccess = 0,
    kExitExpressionFailed = 1, // a tree failed, a rule did not meet its expectation, check found
    kExitUsage = 2,            // usage, input or output error
};

} // namespace corehost
