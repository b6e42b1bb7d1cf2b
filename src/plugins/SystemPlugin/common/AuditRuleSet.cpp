// The rules a kernel holds after `auditctl -R` loaded a rules text.
#include "SystemPlugin/common/AuditRuleSet.h"

#include "SystemPlugin/common/AuditLine.h"

#include <algorithm>
#include <iterator>

#include <linux/audit.h>

namespace SystemPlugin {

namespace {

// Whether a part of the rule's key (auditctl joins them with \x01) is `key`.
bool holdsKey(const AuditRule& rule, const std::string& key) {
    for (const AuditRuleField& field : rule.fields) {
        if (field.type != AUDIT_FILTERKEY)
            continue;
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = field.text.find('\x01', start);
            if (field.text.compare(start, end == std::string::npos ? end : end - start, key) == 0)
                return true;
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
    }
    return false;
}

} // namespace

bool AuditRuleSet::load(std::string_view text, std::size_t& failedLine, std::string& reason) {
    std::size_t number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::size_t length = (end == std::string_view::npos ? text.size() : end) - start;
        // auditctl reads with fgets into kLineBuffer bytes: a longer line
        // comes as several, each handled as a line of its own; and each is
        // a C string, which ends at its first NUL.
        const std::size_t taken = std::min(length, kLineBuffer - 1);
        std::string_view line = text.substr(start, taken);
        line = line.substr(0, line.find('\0'));
        ++number;
        if (!apply(line, reason) && !m_GoOn) {
            failedLine = number;
            return false;
        }
        start += length < kLineBuffer - 1 ? length + 1 : taken;
    }
    return true;
}

bool AuditRuleSet::apply(std::string_view text, std::string& reason) {
    AuditLine line;
    const bool read = line.read(text, m_Machine, reason);
    m_GoOn = m_GoOn || line.continueOnError || line.ignoreErrors;
    if (!read)
        return false;
    switch (line.kind) {
    case AuditLine::Kind::Nothing:
        return true;
    case AuditLine::Kind::Enable:
        m_Enable = line.enable;
        return true;
    case AuditLine::Kind::DeleteAll:
        removeAll(line.deleteKey);
        return true;
    case AuditLine::Kind::Delete:
        return remove(line.rule) || ((reason = "no such rule"), false);
    case AuditLine::Kind::Append:
    case AuditLine::Kind::Prepend:
        break;
    }
    if (!insert(std::move(line.rule), line.kind == AuditLine::Kind::Prepend)) {
        reason = "the rule exists";
        return false;
    }
    return true;
}

bool AuditRuleSet::insert(AuditRule rule, bool atHead) {
    List& list = m_Lists[rule.list % kLists];
    std::string identity = rule.identity();
    if (m_Index.count(identity) != 0)
        return false;
    const List::iterator held =
        list.insert(atHead ? list.begin() : list.end(), Held{std::move(rule), std::move(identity)});
    m_Index.emplace(held->identity, held);
    ++m_Count;
    return true;
}

void AuditRuleSet::add(AuditRule rule) {
    insert(std::move(rule), false);
}

bool AuditRuleSet::remove(const AuditRule& rule) {
    const auto found = m_Index.find(rule.identity());
    if (found == m_Index.end())
        return false;
    erase(m_Lists[rule.list % kLists], found->second);
    return true;
}

void AuditRuleSet::removeAll(const std::string& key) {
    for (List& list : m_Lists)
        for (auto it = list.begin(); it != list.end();) {
            const auto next = std::next(it);
            if (key.empty() || holdsKey(it->rule, key))
                erase(list, it);
            it = next;
        }
}

void AuditRuleSet::erase(List& list, List::iterator held) {
    m_Index.erase(held->identity);
    list.erase(held);
    --m_Count;
}

std::vector<std::string> AuditRuleSet::texts() const {
    std::vector<std::string> out;
    out.reserve(m_Count + 1);
    for (const List& list : m_Lists)
        for (const Held& held : list)
            out.push_back(held.rule.text(m_Machine));
    if (m_Enable >= 0)
        out.push_back("-e " + std::to_string(m_Enable));
    return out;
}

} // namespace SystemPlugin
