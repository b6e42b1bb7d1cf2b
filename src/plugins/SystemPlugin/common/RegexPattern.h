// A regular expression in RE2 syntax, matched against UTF-8 text in time
// linear in the text whatever the pattern (RE2 never backtracks).
#pragma once

#include <memory>
#include <string>

namespace re2 {
class RE2;
}

namespace SystemPlugin {

class RegexPattern {
public:
    RegexPattern();
    ~RegexPattern();
    RegexPattern(RegexPattern&&) noexcept;
    RegexPattern& operator=(RegexPattern&&) noexcept;

    // Compiles `pattern` (wide text, taken as UTF-8). False for a pattern RE2
    // refuses (bad syntax, or a program over RE2's memory budget); `error`
    // then says why. A pattern compiled before with the same text and case
    // is kept as it is.
    bool compile(const std::wstring& pattern, bool ignoreCase, std::string& error);

    // The number of capture groups; 0 before a successful compile.
    int captureGroups() const;

    // True when the pattern matches somewhere in `text` (anchors anchor).
    bool search(const std::string& text) const;

    // The first capture group of the first match; false when nothing matches.
    // A group that took no part in the match gives the empty text.
    bool extractFirstGroup(const std::string& text, std::string& group) const;

private:
    std::unique_ptr<re2::RE2> m_Regex;
    std::wstring m_Source;
    bool m_IgnoreCase = false;
};

} // namespace SystemPlugin
