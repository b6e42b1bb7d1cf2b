// The files of sysctl.d read as systemd-sysctl reads them, for one parameter:
// one table of settings across all files, in which a later assignment of a
// key replaces the earlier one and moves to the end (unless it assigns the
// same value), "-key" alone excludes the key from globs (and cancels an
// earlier assignment of it), and a key with '*', '?' or '[' is written to
// every parameter it matches that no key of the table names outright.
#pragma once

#include "SystemPlugin/common/Assignments.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace SystemPlugin {

class SysctlAssignments : public AssignmentReader {
public:
    explicit SysctlAssignments(std::string_view key);

    // One file: its lines up to the first too long for systemd.
    TErrorCode read(std::string_view text) override;
    // The values systemd-sysctl writes to the parameter, in order.
    Values values() override;

    static std::unique_ptr<AssignmentReader> make(const KeyQuery& query) {
        return std::make_unique<SysctlAssignments>(query.key);
    }

private:
    struct Setting {
        std::optional<std::string> value; // none: "-key", excluded from globs
        std::uint64_t order = 0;
    };
    void assign(std::string key, std::optional<std::string> value);

    std::string m_Key;    // normalised
    std::string m_Target; // the parameter it reaches
    // The keys that reach the parameter or are globs matching it.
    std::map<std::string, Setting> m_Settings;
    bool m_Named = false; // some key of the table is the parameter's own name
    std::uint64_t m_Next = 0;
};

} // namespace SystemPlugin
