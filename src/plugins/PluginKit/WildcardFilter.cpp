// The project's wildcard over a whole text, with or without case.
#include "PluginKit/WildcardFilter.h"

#include "utils/Wildcard.h"

#include <utility>

namespace PluginKit {

WildcardFilter::WildcardFilter(std::wstring pattern, bool ignoreCase)
    : m_Pattern(std::move(pattern)), m_IgnoreCase(ignoreCase) {
    if (m_IgnoreCase)
        utils::stringToLower(m_Pattern);
}

bool WildcardFilter::matches(const std::wstring& text) const {
    if (!m_IgnoreCase)
        return utils::matchWildcard(m_Pattern.c_str(), text.c_str());
    std::wstring lowered(text);
    utils::stringToLower(lowered);
    return utils::matchWildcard(m_Pattern.c_str(), lowered.c_str());
}

} // namespace PluginKit
