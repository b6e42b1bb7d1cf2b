// The base library's string and wide-text helpers.
#include "base/String.h"
#include "base/WideText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <string>

TEST(BaseString, SearchesByCharacterPosition) {
    String text(L"a(b)c(d)e");
    EXPECT_EQ(text.length(), 9);
    EXPECT_EQ(text.indexOf(L"(", 0), 1);
    EXPECT_EQ(text.indexOf(L"(", 2), 5);
    EXPECT_EQ(text.indexOf(L"(", 6), -1);
    EXPECT_EQ(text.indexOf(L"(", -3), 1);
    EXPECT_EQ(text.indexOf(L"(", 100), -1);
    EXPECT_EQ(text.lastIndexOf(L")", -1), 7);
    EXPECT_EQ(text.lastIndexOf(L")", 6), 3);
    EXPECT_EQ(text.lastIndexOf(L")", 2), -1);
    EXPECT_EQ(text.lastIndexOf(L"(", 100), 5);
    EXPECT_EQ(text.indexOf(L"zz", 0), -1);
}

TEST(BaseString, TestsItsEnds) {
    String text(L"config.ini");
    EXPECT_TRUE(text.startsWith(L"config", 0));
    EXPECT_FALSE(text.startsWith(L"ini", 0));
    EXPECT_TRUE(text.startsWith(L"ini", 7));
    EXPECT_FALSE(text.startsWith(L"x", 11));
    EXPECT_TRUE(text.endsWith(L".ini"));
    EXPECT_TRUE(text.endsWith(L""));
    EXPECT_FALSE(text.endsWith(L"xconfig.ini"));
}

TEST(BaseString, SubstringIncludesBothEndsAndClampsToTheText) {
    String text(L"abcdef");
    struct Case {
        int first, last;
        const wchar_t* expected;
    };
    const Case cases[] = {{0, 0, L"a"},   {1, 3, L"bcd"},  {4, 100, L"ef"},
                          {-5, 1, L"ab"}, {3, 2, L""},     {6, 9, L""}};
    for (const Case& c : cases)
        EXPECT_STREQ(text.substring(c.first, c.last).c_wstr(), c.expected)
            << c.first << ".." << c.last;
    EXPECT_STREQ(text.substring(2).c_wstr(), L"cdef");
    EXPECT_STREQ(text.substring(6).c_wstr(), L"");
}

TEST(BaseString, NarrowTextIsUtf8) {
    String text(L"\u00e9t\u00e9");
    EXPECT_STREQ(static_cast<const char*>(text), "\xC3\xA9t\xC3\xA9");
}

TEST(WideText, ConversionsReturnOwnedTexts) {
    wchar_t* number = i_ltowcs(LONG_MIN);
    EXPECT_STREQ(number, L"-9223372036854775808");
    brel_free(number);

    wchar_t* formatted = i_wsprintf("%lu.%lu", 1UL, 18446744073709551615UL);
    EXPECT_STREQ(formatted, L"1.18446744073709551615");
    brel_free(formatted);

    wchar_t* copy = i_wcsdup(L"path");
    EXPECT_STREQ(copy, L"path");
    brel_free(copy);
    EXPECT_EQ(i_wcsdup(nullptr), nullptr);

    char* narrow = i_wcstombs(L"/tmp/\u00e9");
    EXPECT_STREQ(narrow, "/tmp/\xC3\xA9");
    brel_free(narrow);
}

TEST(WideText, NarrowCopyRefusesTextsWithoutAUtf8Form) {
    const wchar_t surrogate[] = {L'/', static_cast<wchar_t>(0xDC00), 0};
    EXPECT_EQ(i_wcstombs(surrogate), nullptr);
    const wchar_t beyond[] = {L'/', static_cast<wchar_t>(0x110000), 0};
    EXPECT_EQ(i_wcstombs(beyond), nullptr);
    EXPECT_EQ(i_wcstombs(nullptr), nullptr);
}

TEST(WideText, WcstolReadsADecimalPrefix) {
    EXPECT_EQ(i_wcstol(L"42"), 42);
    EXPECT_EQ(i_wcstol(L"  -7x"), -7);
    EXPECT_EQ(i_wcstol(L"x"), 0);
    EXPECT_EQ(i_wcstol(nullptr), 0);
}

TEST(WideText, WcstokSplitsInPlaceWithoutEmptyTokens) {
    wchar_t text[] = L"1..2,3";
    wchar_t* state = nullptr;
    std::wstring tokens;
    for (wchar_t* token = i_wcstok(text, L".,", &state); token;
         token = i_wcstok(nullptr, L".,", &state))
        tokens += std::wstring(token) + L"|";
    EXPECT_EQ(tokens, L"1|2|3|");
}
