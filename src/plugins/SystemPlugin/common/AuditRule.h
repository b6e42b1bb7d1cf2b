// One audit rule as the kernel holds it (its list, action, fields in order
// and system-call mask) and its normal form: what `auditctl -l` prints for
// it, made well defined.
#pragma once

#include "SystemPlugin/common/AuditTables.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace SystemPlugin {

struct AuditRuleField {
    unsigned type = 0;
    unsigned op = 0;         // the kernel's operator bits (AUDIT_EQUAL...)
    std::uint32_t value = 0; // numbers; for texts, their length
    std::string text;        // paths, keys, labels
};

class AuditRule {
public:
    // The kernel's bitmask size: 64 words of 32 system calls.
    static constexpr unsigned kMaskWords = 64;

    unsigned list = 0;   // AUDIT_FILTER_*
    unsigned action = 0; // AUDIT_NEVER, AUDIT_POSSIBLE, AUDIT_ALWAYS
    std::vector<AuditRuleField> fields;
    std::array<std::uint32_t, kMaskWords> mask{};

    // Every system call, as auditctl sets for "-S all" or no -S.
    void setAllSyscalls() { mask.fill(~std::uint32_t{0}); }
    bool allSyscalls() const;
    bool hasSyscall(unsigned number) const { return mask[number / 32] >> (number % 32) & 1U; }
    void addSyscall(unsigned number) { mask[number / 32] |= std::uint32_t{1} << (number % 32); }

    // What the kernel compares when it refuses a rule that exists already
    // (list, action, mask, every field in order): equal texts, equal rules.
    std::string identity() const;

    // The normal form. A rule of the exit list that always acts, tests
    // every system call and only a path (or directory) with permissions,
    // and maybe keys, is a watch: `-w PATH -p PERMS [-k KEY]...`, the path
    // without a trailing slash. Any other: `-a ACTION,LIST`, the arch
    // fields, `-S` (exit list only: names by number, the names of the
    // rule's architecture or else `machine`'s, or `all`), the other fields
    // as held with their values in auditctl's spelling, the keys last.
    std::string text(AuditArch machine) const;
};

// The 64-bit architecture of the machine the plug-in was built for.
AuditArch machineArch();
// The kernel's AUDIT_ARCH value of `arch`.
std::uint32_t auditArchValue(AuditArch arch);
// The architecture of an AUDIT_ARCH value, if it is one whose system calls
// are known; false otherwise.
bool auditArchOf(std::uint32_t value, AuditArch& arch);
// The 32-bit companion of a 64-bit architecture (itself for a 32-bit one).
AuditArch companionArch(AuditArch arch);

} // namespace SystemPlugin
