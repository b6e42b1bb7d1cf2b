// The rules a kernel holds after `auditctl -R` loaded a rules text into it
// with no rules: each line applied in order, the first line auditctl or the
// kernel refuses stopping the load unless an earlier -c or -i line lets it
// go on.
#pragma once

#include "SystemPlugin/common/AuditRule.h"

#include <array>
#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace SystemPlugin {

class AuditRuleSet {
public:
    explicit AuditRuleSet(AuditArch machine) : m_Machine(machine) {}

    // The buffer auditctl reads each line of a rules file into.
    static constexpr std::size_t kLineBuffer = 6144;

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
    // A rule held with its identity, which the index refers to.
    struct Held {
        AuditRule rule;
        std::string identity;
    };
    using List = std::list<Held>;

    bool apply(std::string_view line, std::string& reason);
    bool insert(AuditRule rule, bool atHead);
    bool remove(const AuditRule& rule);
    void removeAll(const std::string& key);
    void erase(List& list, List::iterator held);

    static constexpr std::size_t kLists = 8;
    AuditArch m_Machine;
    std::array<List, kLists> m_Lists;
    // Each held rule by its identity (a view of Held::identity, which stays
    // in place while the rule is held): a rule a -d or -W line names, or a
    // duplicate, is found at once even in a list of 100,000.
    std::unordered_map<std::string_view, List::iterator> m_Index;
    std::size_t m_Count = 0;
    int m_Enable = -1;
    bool m_GoOn = false;
};

} // namespace SystemPlugin
