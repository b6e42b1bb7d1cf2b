// The names auditctl reads and prints for numbers: system calls of each
// architecture, error numbers and message types (generated: AuditTables.cpp).
#pragma once

#include <cstddef>
#include <string_view>

namespace SystemPlugin {

// The architectures whose system-call tables are known: a 64-bit one and its
// 32-bit companion for x86 and for ARM.
enum class AuditArch { X86_64, I386, Aarch64, Arm };

struct AuditName {
    unsigned number;
    const char* name;
};

// Rows in ascending order of number, each number once.
struct AuditNames {
    const AuditName* rows;
    std::size_t count;
    // The positions of the rows in the order of their names.
    const unsigned short* byName;

    // The name of `number`, or null.
    const char* nameOf(unsigned number) const;
    // Whether `name` is in the table, with its number.
    bool numberOf(std::string_view name, unsigned& number) const;
};

class AuditTables {
public:
    static AuditNames syscalls(AuditArch arch);
    static AuditNames errnoNames();
    static AuditNames messageTypes();
};

} // namespace SystemPlugin
