// One line of an audit rules file read as `auditctl -R` reads it: split at
// spaces into options, each checked as auditctl and the kernel check it.
#pragma once

#include "SystemPlugin/common/AuditRule.h"

#include <string>
#include <string_view>

namespace SystemPlugin {

class AuditLine {
public:
    enum class Kind {
        Nothing,   // a blank or comment line, or settings only (-b, -f, -r...)
        Append,    // -a, -w: at the end of its list
        Prepend,   // -A: at the head of its list
        Delete,    // -d, -W
        DeleteAll, // -D (with `deleteKey`: the rules holding that key)
        Enable,    // -e N
    };

    Kind kind = Kind::Nothing;
    AuditRule rule;
    std::string deleteKey;
    int enable = 0;
    bool continueOnError = false; // -c
    bool ignoreErrors = false;    // -i

    // Reads `line` (without its line end) for a machine of arch `machine`;
    // false with `error` set when auditctl or the kernel would refuse it.
    bool read(std::string_view line, AuditArch machine, std::string& error);
};

} // namespace SystemPlugin
