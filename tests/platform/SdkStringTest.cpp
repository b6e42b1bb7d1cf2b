// The host SDK's string: order, case mapping, number reading, UTF-8 texts.
#include "PluginSDK/String.h"
#include "base/WideText.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstring>

using PluginSDK::String;

TEST(SdkString, NullBuildsAndAssignsTheEmptyText) {
    String fromNull(static_cast<const wchar_t*>(nullptr));
    EXPECT_EQ(fromNull.length(), 0);
    EXPECT_NE(static_cast<const wchar_t*>(fromNull), nullptr);
    String text(L"abc");
    text = static_cast<const wchar_t*>(nullptr);
    EXPECT_TRUE(text == L"");
    text = static_cast<const char*>(nullptr);
    EXPECT_TRUE(text == L"");
}

TEST(SdkString, OrdersByCodePointWithPrefixesFirst) {
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        int expected; // sign of compare(a, b)
    };
    const Case cases[] = {
        {L"", L"", 0},          {L"", L"a", -1},          {L"abc", L"abcd", -1},
        {L"B", L"a", -1},       {L"1.10", L"1.9", -1},    {L"\u00e9", L"z", 1},
        {L"\U0001F600", L"\uFFFF", 1}, {L"same", L"same", 0},
    };
    for (const Case& c : cases) {
        String a(c.a), b(c.b);
        int sign = (a < b) ? -1 : (a > b ? 1 : 0);
        EXPECT_EQ(sign, c.expected) << "comparing row " << (&c - cases);
        EXPECT_EQ(a == b, c.expected == 0);
        EXPECT_EQ(a <= b, c.expected <= 0);
        EXPECT_EQ(a >= b, c.expected >= 0);
        EXPECT_EQ(a != b, c.expected != 0);
    }
}

TEST(SdkString, ToLongAcceptsOnlyASignedDecimalNumber) {
    struct Case {
        const wchar_t* text;
        bool ok;
        long value;
    };
    const Case cases[] = {
        {L"42", true, 42},
        {L"  -17  ", true, -17},
        {L"+5", true, 5},
        {L"-0", true, 0},
        {L"9223372036854775807", true, LONG_MAX},
        {L"-9223372036854775808", true, LONG_MIN},
        {L"9223372036854775808", false, 0},
        {L"-9223372036854775809", false, 0},
        {L"", false, 0},
        {L"   ", false, 0},
        {L"x", false, 0},
        {L"12x", false, 0},
        {L"1 2", false, 0},
        {L"--1", false, 0},
        {L"0x10", false, 0},
        {L"-", false, 0},
    };
    for (const Case& c : cases) {
        long value = 12345;
        EXPECT_EQ(String(c.text).toLong(value, true), c.ok) << "text '" << c.text << "'";
        EXPECT_EQ(value, c.ok ? c.value : 12345) << "text '" << c.text << "'";
    }
}

TEST(SdkString, ToLongWithoutStrictStopsAfterTheDigits) {
    long value = 0;
    EXPECT_TRUE(String(L"12x").toLong(value, false));
    EXPECT_EQ(value, 12);
    EXPECT_FALSE(String(L"x12").toLong(value, false));
    EXPECT_EQ(value, 12);
}

TEST(SdkString, ToUpperCaseFollowsTheLocale) {
    String ascii(L"abc-XYZ-1");
    ascii.toUpperCase();
    EXPECT_TRUE(ascii == L"ABC-XYZ-1");

    const char* previous = std::setlocale(LC_CTYPE, nullptr);
    std::string saved = previous ? previous : "C";
    if (std::setlocale(LC_CTYPE, "C.UTF-8")) {
        String accented(L"\u00e9t\u00e9");
        accented.toUpperCase();
        EXPECT_TRUE(accented == L"\u00c9T\u00c9");
    }
    std::setlocale(LC_CTYPE, saved.c_str());
}

TEST(SdkString, MultibyteFormIsUtf8WhateverTheLocale) {
    char* narrow = String::getMultibyteString(L"a\u00e9\u20ac\U0001F600");
    ASSERT_NE(narrow, nullptr);
    EXPECT_STREQ(narrow, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    brel_free(narrow);

    const wchar_t unencodable[] = {L'a', static_cast<wchar_t>(0xD800), L'b', 0};
    narrow = String::getMultibyteString(unencodable);
    ASSERT_NE(narrow, nullptr);
    EXPECT_STREQ(narrow, "a\xEF\xBF\xBD"
                         "b");
    brel_free(narrow);
    EXPECT_EQ(String::getMultibyteString(nullptr), nullptr);
}

TEST(SdkString, NarrowAssignmentDecodesUtf8AndReplacesInvalidBytes) {
    String text;
    text = "caf\xC3\xA9";
    EXPECT_TRUE(text == L"caf\u00e9");
    text = "a\xFF" "b\xC3";
    EXPECT_TRUE(text == L"a\uFFFDb\uFFFD");
    text = "\xE0\x80\x80"; // overlong
    EXPECT_TRUE(text == L"\uFFFD");
}

TEST(SdkString, AppendAndCompareWithWideTexts) {
    String text(L"ab");
    text += L"c";
    text += String(L"d");
    text += static_cast<const wchar_t*>(nullptr);
    EXPECT_TRUE(text == L"abcd");
    EXPECT_TRUE(text != L"ABCD");
    EXPECT_EQ(text.length(), 4);
}
