// Wildcard matching with escaped "\*" and "\?".
#include "utils/WildcardEscaped.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool escapedMatch(std::string pattern, std::string text) {
    return utils::matchWildcardEscapedSupport<char>(pattern, text);
}

} // namespace

TEST(WildcardEscaped, EscapedWildcardsMatchOnlyThemselves) {
    struct Case {
        const char* pattern;
        const char* text;
        bool matches;
    };
    const Case cases[] = {
        {"a\\*", "a*", true},
        {"a\\*", "ab", false},
        {"a\\*", "a", false},
        {"a*", "a*", true},
        {"a*", "abc", true},
        {"a\\?c", "a?c", true},
        {"a\\?c", "abc", false},
        {"a?c", "a?c", true},
        {"a\\b", "a\\b", true}, // a backslash before anything else is ordinary
        {"\\**", "*tail", true},
        {"\\**", "tail", false},
        // The plain matcher's retries carry over.
        {"*aaa", "aaaaa", true},
        {"*a?b*", "aaab", true},
        {"*\\*\\*", "x***", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(escapedMatch(c.pattern, c.text), c.matches)
            << "'" << c.pattern << "' against '" << c.text << "'";
}

TEST(WildcardEscaped, CodesOneAndTwoInTheTextStandForTheEscapedWildcards) {
    EXPECT_TRUE(escapedMatch("a\\*", std::string("a\x01")));
    EXPECT_TRUE(escapedMatch("a\\?", std::string("a\x02")));
    EXPECT_FALSE(escapedMatch("a\\*", std::string("a\x02")));
}

TEST(WildcardEscaped, ArgumentsAreLeftReplaced) {
    std::string pattern = "\\*x\\?";
    std::string text = "*x?";
    EXPECT_TRUE(utils::matchWildcardEscapedSupport<char>(pattern, text));
    EXPECT_EQ(pattern, "\x01x\x02");
    EXPECT_EQ(text, "\x01x\x02");
}

TEST(WildcardEscaped, WideForm) {
    std::wstring pattern = L"\u263A\\*?";
    std::wstring text = L"\u263A*\u00E9";
    EXPECT_TRUE((utils::matchWildcardEscapedSupport<wchar_t, std::wstring>(pattern, text)));
    std::wstring pattern2 = L"\u263A\\*";
    std::wstring text2 = L"\u263Ab";
    EXPECT_FALSE(utils::matchWildcardEscapedSupport<wchar_t>(pattern2, text2));
}
