// The fields an audit rule can test: the names auditctl takes after -F, the
// kernel's number of each and how its value is written.
#pragma once

#include <string_view>

namespace SystemPlugin {

// How a field's value is read from a rules file and printed back.
enum class AuditValueKind {
    User,      // a user name or number; printed as a signed number
    Group,     // a group name or number; printed as a signed number
    LoginUser, // as User, and "unset" is -1 (the kernel takes -1 here)
    Number,    // a number; printed signed
    Session,   // a number or "unset"; printed signed
    Argument,  // a system-call argument; printed as 0x and upper-case hex
    Exit,      // a number or an error name; printed -ENAME when it has one
    Arch,      // b64, b32 or an architecture name
    MessageType,
    FileType,   // file, dir, socket, link, character, block, fifo
    Permission, // letters of rwxa
    Path,       // an absolute path without a trailing slash
    Directory,  // an absolute path
    Executable, // an absolute path
    Text,       // security labels: taken as written
    Key,
    FsType,
    Compare, // the pair of fields -C compares
    Flag,    // 0 or 1
};

struct AuditField {
    const char* name; // as printed
    unsigned type;    // the kernel's field number
    AuditValueKind kind;
};

class AuditFields {
public:
    // The field auditctl reads as `name` ("loginuid" is "auid"), or null.
    static const AuditField* byName(std::string_view name);
    // The field of the kernel's number `type`, or null.
    static const AuditField* byType(unsigned type);
    // The name of a field comparison, such as "auid!=obj_uid" without the
    // operator: its two field names; false for an unknown number.
    static bool comparePair(unsigned which, const char*& left, const char*& right);
    // The comparison of `left` with `right` (either order): its number.
    static bool compareNumber(std::string_view left, std::string_view right, unsigned& which);
};

} // namespace SystemPlugin
