// systemd-sysctl's table of settings, for one parameter.
#include "SystemPlugin/common/SysctlAssignments.h"

#include "SystemPlugin/common/ConfigLines.h"
#include "SystemPlugin/common/SysctlName.h"
#include "SystemPlugin/common/SystemdLines.h"

#include <fnmatch.h>

#include <algorithm>
#include <vector>

namespace SystemPlugin {
namespace {

bool isGlob(std::string_view key) {
    return key.find_first_of("*?[") != std::string_view::npos;
}

// The patterns of a glob with its braces expanded as glob(3) with GLOB_BRACE
// expands them; a pattern that expands to more than `room` is left as it is.
void expandBraces(const std::string& pattern, std::size_t room, std::vector<std::string>& out) {
    std::size_t open = std::string::npos;
    std::size_t depth = 0;
    std::vector<std::size_t> commas;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '\\') {
            ++i;
        } else if (c == '{') {
            if (depth++ == 0) {
                open = i;
                commas.clear();
            }
        } else if (c == ',' && depth == 1) {
            commas.push_back(i);
        } else if (c == '}' && depth > 0 && --depth == 0) {
            commas.push_back(i);
            std::size_t start = open + 1;
            for (std::size_t end : commas) {
                if (out.size() >= room)
                    break;
                expandBraces(pattern.substr(0, open) + pattern.substr(start, end - start) +
                                 pattern.substr(i + 1),
                             room, out);
                start = end + 1;
            }
            return;
        }
    }
    out.push_back(pattern);
}

bool globMatches(const std::string& glob, const std::string& name) {
    // No parameter's name comes near this length; the cap bounds the work a
    // hostile key can cause (each brace group one more pass).
    constexpr std::size_t kMaxKey = 512;
    constexpr std::size_t kMaxPatterns = 256;
    if (glob.size() > kMaxKey)
        return false;
    std::vector<std::string> patterns;
    expandBraces(glob, kMaxPatterns, patterns);
    return std::any_of(patterns.begin(), patterns.end(), [&](const std::string& pattern) {
        return fnmatch(pattern.c_str(), name.c_str(), FNM_PATHNAME | FNM_PERIOD) == 0;
    });
}

} // namespace

SysctlAssignments::SysctlAssignments(std::string_view key)
    : m_Key(sysctlNormalise(key)), m_Target(sysctlTarget(m_Key)) {}

void SysctlAssignments::assign(std::string key, std::optional<std::string> value) {
    const bool relevant = isGlob(key) ? !m_Target.empty() && globMatches(key, m_Target)
                                      : sysctlTarget(key) == m_Target;
    m_Named = m_Named || key == m_Target;
    if (!relevant || m_Target.empty())
        return;
    auto [found, added] = m_Settings.try_emplace(std::move(key));
    Setting& setting = found->second;
    if (!added && setting.value == value)
        return;
    setting.value = std::move(value);
    setting.order = m_Next++;
}

TErrorCode SysctlAssignments::read(std::string_view text) {
    SystemdLines::forEach(text, [this](std::string_view line) {
        line = SystemdLines::strip(line);
        if (line.empty() || line.front() == '#' || line.front() == ';')
            return;
        const std::size_t equals = line.find('=');
        std::string_view key = line.substr(0, equals);
        if (!key.empty() && key.front() == '-')
            key.remove_prefix(1);
        else if (equals == std::string_view::npos)
            return; // not an assignment
        std::optional<std::string> value;
        if (equals != std::string_view::npos)
            value = std::string(SystemdLines::strip(line.substr(equals + 1)));
        assign(sysctlNormalise(SystemdLines::strip(key)), std::move(value));
    });
    return 0;
}

Values SysctlAssignments::values() {
    std::vector<std::pair<std::uint64_t, const std::string*>> writes;
    for (const auto& [key, setting] : m_Settings)
        if (setting.value && (!isGlob(key) || !m_Named))
            writes.emplace_back(setting.order, &*setting.value);
    std::sort(writes.begin(), writes.end());
    Values values;
    for (const auto& write : writes)
        values.push_back(*write.second);
    return values;
}

} // namespace SystemPlugin
