// "filter" with "ignoreCase".
#include "SystemPlugin/common/WildcardFilter.h"

#include "utils/Wildcard.h"

namespace SystemPlugin {

WildcardFilter::WildcardFilter(const wchar_t* filter, bool ignoreCase)
    : m_Filter(filter ? filter : L""), m_IgnoreCase(ignoreCase) {
    if (m_IgnoreCase)
        utils::stringToLower(m_Filter);
}

bool WildcardFilter::matches(const std::wstring& value) const {
    if (m_Filter.empty())
        return true;
    std::wstring text = value;
    if (m_IgnoreCase)
        utils::stringToLower(text);
    return utils::matchWildcard(m_Filter.c_str(), text.c_str());
}

} // namespace SystemPlugin
