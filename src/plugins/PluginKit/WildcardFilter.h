// The project's wildcard ("*" any run of characters, "?" one character) over
// a whole text, with or without case, as CorePlugin's Vector filters: with
// "ignoreCase" both the pattern and the text are lower-cased first.
#pragma once

#include <string>

namespace PluginKit {

class WildcardFilter {
public:
    WildcardFilter() = default;
    WildcardFilter(std::wstring pattern, bool ignoreCase);

    // True when the whole of `text` matches the pattern.
    bool matches(const std::wstring& text) const;

private:
    std::wstring m_Pattern;
    bool m_IgnoreCase = false;
};

} // namespace PluginKit
