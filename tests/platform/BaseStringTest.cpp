// The base library's string and wide-text helpers.
#include "base/String.h"
#include "base/WideText.h"

#include <gtest/gtest.h>

#include <climits>

TEST(BaseString, SearchesAndSlicesByCharacterPosition) {
    String text(L"a(b)c(d)e");
    const std::pair<int, int> found[] = {
        {text.indexOf(L"(", 0), 1},      {text.indexOf(L"(", 2), 5},
        {text.indexOf(L"(", 6), -1},     {text.indexOf(L"(", -3), 1},
        {text.indexOf(L"(", 100), -1},   {text.indexOf(L"zz", 0), -1},
        {text.lastIndexOf(L")", -1), 7}, {text.lastIndexOf(L")", 6), 3},
        {text.lastIndexOf(L")", 2), -1}, {text.lastIndexOf(L"(", 100), 5},
        {text.startsWith(L"a(", 0), 1},  {text.startsWith(L"e", 8), 1},
        {text.startsWith(L"x", 11), 0},  {text.endsWith(L"d)e"), 1},
        {text.endsWith(L""), 1},         {text.endsWith(L"xa(b)c(d)e"), 0},
    };
    for (const auto& f : found)
        EXPECT_EQ(f.first, f.second) << "check " << (&f - found);

    String letters(L"abcdef");
    const std::pair<std::pair<int, int>, const wchar_t*> slices[] = {
        {{0, 0}, L"a"},   {{1, 3}, L"bcd"}, {{4, 100}, L"ef"},
        {{-5, 1}, L"ab"}, {{3, 2}, L""},    {{6, 9}, L""}};
    for (const auto& s : slices)
        EXPECT_STREQ(letters.substring(s.first.first, s.first.second).c_wstr(), s.second)
            << s.first.first << ".." << s.first.second;
    EXPECT_STREQ(letters.substring(2).c_wstr(), L"cdef");
    EXPECT_STREQ(letters.substring(6).c_wstr(), L"");
    EXPECT_STREQ(static_cast<const char*>(String(L"\u00e9t\u00e9")), "\xC3\xA9t\xC3\xA9");
}

// The conversions behind numbers and paths; a text without a UTF-8 form has
// no narrow copy, so that no path is examined under a lossy substitute.
TEST(WideText, ConversionsReturnOwnedTextsOrNull) {
    wchar_t* number = i_ltowcs(LONG_MIN);
    EXPECT_STREQ(number, L"-9223372036854775808");
    brel_free(number);
    char* narrow = i_wcstombs(L"/tmp/\u00e9");
    EXPECT_STREQ(narrow, "/tmp/\xC3\xA9");
    brel_free(narrow);
    const wchar_t surrogate[] = {L'/', static_cast<wchar_t>(0xDC00), 0};
    const wchar_t beyond[] = {L'/', static_cast<wchar_t>(0x110000), 0};
    EXPECT_TRUE(i_wcstombs(surrogate) == nullptr && i_wcstombs(beyond) == nullptr &&
                i_wcstombs(nullptr) == nullptr && i_wcsdup(nullptr) == nullptr);
    EXPECT_TRUE(i_wcstol(L"  -7x") == -7 && i_wcstol(L"x") == 0 && i_wcstol(nullptr) == 0);
}
