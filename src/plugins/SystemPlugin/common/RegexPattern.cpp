// A regular expression in RE2 syntax.
#include "SystemPlugin/common/RegexPattern.h"

#include "base/Utf8.h"

#include <re2/re2.h>

namespace SystemPlugin {

RegexPattern::RegexPattern() = default;
RegexPattern::~RegexPattern() = default;
RegexPattern::RegexPattern(RegexPattern&&) noexcept = default;
RegexPattern& RegexPattern::operator=(RegexPattern&&) noexcept = default;

bool RegexPattern::compile(const std::wstring& pattern, bool ignoreCase, std::string& error) {
    if (m_Regex && m_Source == pattern && m_IgnoreCase == ignoreCase)
        return true;
    m_Regex.reset();
    std::string utf8;
    base::encodeUtf8(pattern.data(), pattern.size(), utf8, true);
    RE2::Options options;
    options.set_encoding(RE2::Options::EncodingUTF8);
    options.set_case_sensitive(!ignoreCase);
    options.set_log_errors(false);
    auto regex = std::make_unique<re2::RE2>(utf8, options);
    if (!regex->ok()) {
        error = regex->error();
        return false;
    }
    m_Regex = std::move(regex);
    m_Source = pattern;
    m_IgnoreCase = ignoreCase;
    return true;
}

int RegexPattern::captureGroups() const {
    return m_Regex ? m_Regex->NumberOfCapturingGroups() : 0;
}

bool RegexPattern::search(const std::string& text) const {
    return m_Regex && RE2::PartialMatch(text, *m_Regex);
}

bool RegexPattern::extractFirstGroup(const std::string& text, std::string& group) const {
    if (!m_Regex || m_Regex->NumberOfCapturingGroups() < 1)
        return false;
    re2::StringPiece found;
    if (!RE2::PartialMatch(text, *m_Regex, &found))
        return false;
    group.assign(found.data() ? found.data() : "", found.size());
    return true;
}

} // namespace SystemPlugin
