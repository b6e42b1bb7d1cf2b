// The rules a kernel holds after `auditctl -R` loaded a rules text.
#include "SystemPlugin/common/AuditRuleSet.h"

#include "SystemPlugin/common/AuditLine.h"

#include <algorithm>

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
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        ++number;
        if (!apply(text.substr(start, stop - start), reason) && !m_GoOn) {
            failedLine = number;
            return false;
        }
        start = stop + 1;
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
    if (!m_Identities.insert(line.rule.identity()).second) {
        reason = "the rule exists";
        return false;
    }
    std::deque<AuditRule>& list = m_Lists[line.rule.list % kLists];
    if (line.kind == AuditLine::Kind::Prepend)
        list.push_front(std::move(line.rule));
    else
        list.push_back(std::move(line.rule));
    ++m_Count;
    return true;
}

void AuditRuleSet::add(AuditRule rule) {
    const unsigned list = rule.list % kLists;
    m_Lists[list].push_back(std::move(rule));
    ++m_Count;
}

bool AuditRuleSet::remove(const AuditRule& rule) {
    const std::string identity = rule.identity();
    if (m_Identities.erase(identity) == 0)
        return false;
    std::deque<AuditRule>& list = m_Lists[rule.list % kLists];
    list.erase(std::find_if(list.begin(), list.end(),
                            [&](const AuditRule& held) { return held.identity() == identity; }));
    --m_Count;
    return true;
}

void AuditRuleSet::removeAll(const std::string& key) {
    for (std::deque<AuditRule>& list : m_Lists)
        for (auto it = list.begin(); it != list.end();) {
            if (!key.empty() && !holdsKey(*it, key)) {
                ++it;
                continue;
            }
            m_Identities.erase(it->identity());
            it = list.erase(it);
            --m_Count;
        }
}

std::vector<std::string> AuditRuleSet::texts() const {
    std::vector<std::string> out;
    out.reserve(m_Count + 1);
    for (const std::deque<AuditRule>& list : m_Lists)
        for (const AuditRule& rule : list)
            out.push_back(rule.text(m_Machine));
    if (m_Enable >= 0)
        out.push_back("-e " + std::to_string(m_Enable));
    return out;
}

} // namespace SystemPlugin
