// Sorting of the host SDK's string lists agrees with the order of its strings.
#include "PluginSDK/StringVector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using PluginSDK::String;
using PluginSDK::StringVector;

namespace {

// Texts with long shared prefixes that differ near and across every position
// of a four-unit block, with units that are negative as wchar_t or beyond the
// basic plane, plus duplicates and prefixes of each other.
std::vector<std::wstring> trickyTexts() {
    static const wchar_t kUnits[] = {L'a',
                                     L'b',
                                     L'B',
                                     L'\u00e9',
                                     L'\U0001F600',
                                     static_cast<wchar_t>(-1),
                                     static_cast<wchar_t>(0x7fffffff)};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, sizeof kUnits / sizeof kUnits[0] - 1);
    std::uniform_int_distribution<int> length(0, 11);
    std::vector<std::wstring> texts;
    for (int i = 0; i < 600; ++i) {
        std::wstring text = (i % 3 == 0) ? L"" : L"/usr/share/";
        for (int n = length(random); n > 0; --n)
            text += kUnits[pick(random)];
        texts.push_back(text);
    }
    texts.push_back(L"/usr/share/");
    texts.push_back(L"/usr/share/");
    return texts;
}

} // namespace

TEST(SdkSort, SortsAsStringOrdersInBothDirections) {
    const std::vector<std::wstring> texts = trickyTexts();
    for (bool descending : {false, true}) {
        StringVector list;
        for (const std::wstring& text : texts)
            list.addString(text.c_str());
        list.sort(descending);
        ASSERT_EQ(list.size(), static_cast<int>(texts.size()));

        std::vector<std::wstring> sorted;
        for (const String& item : list.items())
            sorted.push_back(item.str());
        std::vector<std::wstring> expected = texts;
        std::sort(expected.begin(), expected.end(),
                  [](const std::wstring& a, const std::wstring& b) {
                      return String(a.c_str()) < String(b.c_str());
                  });
        if (descending)
            std::reverse(expected.begin(), expected.end());
        EXPECT_EQ(sorted, expected) << (descending ? "descending" : "ascending");
    }
}

TEST(SdkSort, NegativeUnitsSortAfterEveryCodePoint) {
    StringVector list;
    list.addString(std::wstring(1, static_cast<wchar_t>(-5)).c_str());
    list.addString(L"\U0010FFFF");
    list.addString(L"a");
    list.sort(false);
    EXPECT_TRUE(list[0] == L"a");
    EXPECT_TRUE(list[1] == L"\U0010FFFF");
    EXPECT_EQ(list[2].str()[0], static_cast<wchar_t>(-5));
}

TEST(SdkSort, ShortTextsAndNulUnitsKeepTheStringOrder) {
    // Sorting reads up to four leading units ahead of the texts, a missing unit
    // as 0: a NUL unit held by the string must still sort after the end.
    const std::vector<std::wstring> texts = {std::wstring(L"a\0", 2),
                                             L"a",
                                             std::wstring(L"a\0b", 3),
                                             L"",
                                             std::wstring(1, L'\0'),
                                             std::wstring(L"ab\0\0", 4),
                                             L"ab",
                                             std::wstring(L"ab\0\0c", 5),
                                             L"abcd",
                                             L"abc",
                                             std::wstring(L"\0\0\0\0\0", 5)};
    for (bool descending : {false, true}) {
        StringVector list;
        for (const std::wstring& text : texts) {
            String item;
            item.str() = text;
            list.addString(std::move(item));
        }
        list.sort(descending);
        std::vector<std::wstring> expected = texts;
        std::sort(expected.begin(), expected.end(),
                  [](const std::wstring& a, const std::wstring& b) {
                      String left, right;
                      left.str() = a;
                      right.str() = b;
                      return left < right;
                  });
        if (descending)
            std::reverse(expected.begin(), expected.end());
        std::vector<std::wstring> sorted;
        for (const String& item : list.items())
            sorted.push_back(item.str());
        EXPECT_EQ(sorted, expected) << (descending ? "descending" : "ascending");
    }
}
