// Replacing, affix tests, splitting, formatting, argument lists and matchString.
#include "utils/StringOps.h"
#include "utils/RegexMatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(StringOps, ReplaceAllStringsNeverSearchesInsertedText) {
    const std::string cases[][4] = {
        {"aaa", "a", "aa", "aaaaaa"}, {"a.b.c", ".", "--", "a--b--c"}, {"abab", "ab", "", ""},
        {"xyz", "q", "r", "xyz"},     {"aaaa", "aa", "b", "bb"},       {"", "a", "b", ""},
        {"keep", "", "x", "keep"}, // an empty pattern changes nothing
    };
    for (const auto& c : cases) {
        std::string text = c[0];
        utils::replaceAllStrings(text, c[1], c[2]);
        EXPECT_EQ(text, c[3]) << c[0] << ": " << c[1] << " -> " << c[2];
    }
    std::wstring wide = L"x\u263Ax";
    utils::replaceAllStrings(wide, L"x", L"xx");
    utils::replaceAllStrings(wide, L"", L"y");
    EXPECT_EQ(wide, L"xx\u263Axx");
}

TEST(StringOps, AffixesSplittingAndFormatting) {
    EXPECT_TRUE(utils::startsWith("config.ini", "config") && utils::startsWith("ab", "") &&
                utils::endsWith("config.ini", ".ini") && utils::endsWith("", ""));
    EXPECT_FALSE(utils::startsWith("config.ini", "ini") || utils::startsWith("ab", "abc") ||
                 utils::endsWith("config.ini", "config") || utils::endsWith("bc", "abc"));
    using Tokens = std::vector<std::string>;
    EXPECT_EQ(utils::split(",,a,,b,", ","), (Tokens{"a", "b"}));
    EXPECT_EQ(utils::split(",,,", ","), Tokens{});
    EXPECT_EQ(utils::split("one two,three", " ,"), (Tokens{"one", "two", "three"}));
    EXPECT_EQ(utils::split("a,b", ""), Tokens{"a,b"});
    EXPECT_EQ(utils::formatString("%d-%s-%c", 42, "x", 'y'), "42-x-y");
    const std::string longText(5000, 'z');
    EXPECT_EQ(utils::formatString("<%s>", longText.c_str()), "<" + longText + ">");
    // No multibyte form exists beyond U+10FFFF: formatting fails, giving "".
    const wchar_t invalid[] = {wchar_t(0x110000), 0};
    EXPECT_EQ(utils::formatString("ok %ls", invalid), "");
}

TEST(StringOps, ArgumentListsEndEachArgumentWithASpace) {
    char a[] = "a", b[] = "b";
    char* narrow[] = {a, b, nullptr};
    EXPECT_EQ(utils::printArgList(2, narrow), "a b ");
    EXPECT_EQ(utils::printArgList(3, narrow), "a b  "); // a null argument is empty
    EXPECT_EQ(utils::printArgList(0, narrow) + utils::printArgList(-3, narrow) +
                  utils::printArgList(2, nullptr),
              "");
    wchar_t x[] = L"x\u263A";
    wchar_t* wide[] = {x, x};
    EXPECT_EQ(utils::printWArgList(2, wide), L"x\u263A x\u263A ");
}

TEST(StringOps, MatchStringCapturesTheFirstGroup) {
    struct Case {
        const char* pattern;
        const char* text;
        int status;
        const char* captured;
    };
    const Case cases[] = {
        {"a([0-9]+)", "xya42bz", 0, "42"},
        {"(b+)(c+)", "abbccd", 0, "bb"}, // the first group, not a later one
        {"a[0-9]", "xa4", 0, ""},        // no group
        {"x|(y)", "x", 0, ""},           // a group that took no part
        {"^(a+)$", "aaa", 0, "aaa"},     // extended syntax
        {"a([0-9]+)", "abc", 1, ""},
        {"a(", "a(", 4, ""},
        {nullptr, "a", 4, ""},
        {"a", nullptr, 1, ""},
    };
    for (const Case& c : cases) {
        std::string captured = "stale";
        EXPECT_EQ(utils::matchString(c.pattern, c.text, captured), c.status)
            << "row " << (&c - cases);
        EXPECT_EQ(captured, c.captured) << "row " << (&c - cases);
    }
}
