// "filter" with "ignoreCase": the project's wildcard ("*" any run, "?" one
// character) on the whole of each value, as CorePlugin's Vector filters.
#pragma once

#include <string>

namespace SystemPlugin {

class WildcardFilter {
public:
    // A null or empty filter lets every value through.
    WildcardFilter(const wchar_t* filter, bool ignoreCase);

    bool matches(const std::wstring& value) const;

private:
    std::wstring m_Filter;
    bool m_IgnoreCase;
};

} // namespace SystemPlugin
