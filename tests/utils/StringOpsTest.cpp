// Replacing, affix tests, splitting, formatting, argument lists and matchString.
#include "utils/StringOps.h"
#include "utils/RegexMatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(StringOps, ReplaceAllStrings) {
    struct Case {
        std::string text, pattern, replacement, expected;
    };
    const Case cases[] = {
        {"aaa", "a", "aa", "aaaaaa"}, // inserted text is never searched again
        {"a.b.c", ".", "--", "a--b--c"},
        {"abab", "ab", "", ""},
        {"xyz", "q", "r", "xyz"},
        {"aaaa", "aa", "b", "bb"},
        {"", "a", "b", ""},
        {"keep", "", "x", "keep"}, // an empty pattern changes nothing
    };
    for (Case c : cases) {
        utils::replaceAllStrings(c.text, c.pattern, c.replacement);
        EXPECT_EQ(c.text, c.expected) << c.pattern << " -> " << c.replacement;
    }
    std::wstring wide = L"x\u263Ax";
    utils::replaceAllStrings(wide, L"x", L"xx");
    EXPECT_EQ(wide, L"xx\u263Axx");
    utils::replaceAllStrings(wide, L"", L"y");
    EXPECT_EQ(wide, L"xx\u263Axx");
}

TEST(StringOps, StartsWithAndEndsWith) {
    EXPECT_TRUE(utils::startsWith("config.ini", "config"));
    EXPECT_FALSE(utils::startsWith("config.ini", "ini"));
    EXPECT_TRUE(utils::endsWith("config.ini", ".ini"));
    EXPECT_FALSE(utils::endsWith("config.ini", "config"));
    EXPECT_FALSE(utils::startsWith("ab", "abc"));
    EXPECT_FALSE(utils::endsWith("bc", "abc"));
    EXPECT_TRUE(utils::startsWith("ab", ""));
    EXPECT_TRUE(utils::endsWith("", ""));
}

TEST(StringOps, SplitCollapsesDelimiterRuns) {
    using Tokens = std::vector<std::string>;
    EXPECT_EQ(utils::split(",,a,,b,", ","), (Tokens{"a", "b"}));
    EXPECT_EQ(utils::split("", ","), Tokens{});
    EXPECT_EQ(utils::split(",,,", ","), Tokens{});
    EXPECT_EQ(utils::split("one two,three", " ,"), (Tokens{"one", "two", "three"}));
    EXPECT_EQ(utils::split("whole", ","), Tokens{"whole"});
    EXPECT_EQ(utils::split("a,b", ""), Tokens{"a,b"});
}

TEST(StringOps, FormatString) {
    EXPECT_EQ(utils::formatString("%d-%s-%c", 42, "x", 'y'), "42-x-y");
    EXPECT_EQ(utils::formatString(""), "");
    EXPECT_EQ(utils::formatString("%s", ""), "");
    const std::string longText(5000, 'z');
    EXPECT_EQ(utils::formatString("<%s>", longText.c_str()), "<" + longText + ">");
}

TEST(StringOps, FormatStringGivesEmptyWhenFormattingFails) {
    // No multibyte form exists for a value beyond U+10FFFF: an encoding error.
    const wchar_t invalid[] = {wchar_t(0x110000), 0};
    EXPECT_EQ(utils::formatString("ok %ls", invalid), "");
}

TEST(StringOps, ArgumentListsEndEachArgumentWithASpace) {
    char a[] = "a";
    char b[] = "b";
    char* narrow[] = {a, b, nullptr};
    EXPECT_EQ(utils::printArgList(2, narrow), "a b ");
    EXPECT_EQ(utils::printArgList(1, narrow), "a ");
    EXPECT_EQ(utils::printArgList(0, narrow), "");
    EXPECT_EQ(utils::printArgList(-3, narrow), "");
    EXPECT_EQ(utils::printArgList(3, narrow), "a b  "); // a null argument is empty
    EXPECT_EQ(utils::printArgList(2, nullptr), "");
    wchar_t x[] = L"x\u263A";
    wchar_t* wide[] = {x, x};
    EXPECT_EQ(utils::printWArgList(2, wide), L"x\u263A x\u263A ");
    EXPECT_EQ(utils::printWArgList(0, wide), L"");
}

TEST(StringOps, MatchStringCapturesTheFirstGroup) {
    std::string captured = "stale";
    EXPECT_EQ(utils::matchString("a([0-9]+)", "xya42bz", captured), 0);
    EXPECT_EQ(captured, "42");
    // The first group, not the whole match and not a later group.
    EXPECT_EQ(utils::matchString("(b+)(c+)", "abbccd", captured), 0);
    EXPECT_EQ(captured, "bb");
    // No group: matched, empty capture.
    captured = "stale";
    EXPECT_EQ(utils::matchString("a[0-9]", "xa4", captured), 0);
    EXPECT_EQ(captured, "");
    // A group that took no part in the match.
    EXPECT_EQ(utils::matchString("x|(y)", "x", captured), 0);
    EXPECT_EQ(captured, "");
}

TEST(StringOps, MatchStringStatusCodes) {
    std::string captured = "stale";
    EXPECT_EQ(utils::matchString("a([0-9]+)", "abc", captured), 1);
    EXPECT_EQ(captured, "");
    captured = "stale";
    EXPECT_EQ(utils::matchString("a(", "a(", captured), 4);
    EXPECT_EQ(captured, "");
    // Extended syntax: + and unescaped groups are operators.
    EXPECT_EQ(utils::matchString("^(a+)$", "aaa", captured), 0);
    EXPECT_EQ(captured, "aaa");
    EXPECT_EQ(utils::matchString(nullptr, "a", captured), 4);
    EXPECT_EQ(utils::matchString("a", nullptr, captured), 1);
}
