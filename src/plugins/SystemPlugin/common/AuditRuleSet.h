// The rules a kernel holds after `auditctl -R` loaded a rules text into it
// with no rules: each line applied in order, the first line auditctl or the
// kernel refuses stopping the load unless an earlier -c or -i line lets it
// go on.
#pragma once

#include "SystemPlugin/common/AuditRule.h"

#include <array>
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace SystemPlugin {

class AuditRuleSet {
public:
    explicit AuditRuleSet(AuditArch machine) : m_Machine(machine) {}

    // Applies the lines of `text`; false at the first refused line that
    // stops the load, with its number (from 1) and the reason.
    bool load(std::string_view text, std::size_t& failedLine, std::string& reason);

    // Adds a rule the kernel holds (the loaded list), after the others of its list.
    void add(AuditRule rule);
    // Sets the value of the -e line given last.
    void setEnabled(int value) { m_Enable = value; }

    // The rules' normal forms, list by list in the kernel's order of lists
    // (user, task, exit, exclude, filesystem, io_uring), each in its order;
    // then `-e N` of the last -e line, if any.
    std::vector<std::string> texts() const;

    std::size_t size() const { return m_Count; }

private:
    bool apply(std::string_view line, std::string& reason);
    bool remove(const AuditRule& rule);
    void removeAll(const std::string& key);

    static constexpr std::size_t kLists = 8;
    AuditArch m_Machine;
    std::array<std::deque<AuditRule>, kLists> m_Lists;
    std::unordered_set<std::string> m_Identities;
    std::size_t m_Count = 0;
    int m_Enable = -1;
    bool m_GoOn = false;
};

} // namespace SystemPlugin
