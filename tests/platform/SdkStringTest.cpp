// The host SDK's string: order, number reading, case mapping, UTF-8 texts.
#include "PluginSDK/String.h"
#include "base/WideText.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>

using PluginSDK::String;

TEST(SdkString, OrdersByCodePointWithPrefixesFirst) {
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        int sign; // of compare(a, b)
    };
    const Case cases[] = {
        {L"", L"", 0},         {L"", L"a", -1},
        {L"abc", L"abcd", -1}, {L"B", L"a", -1},
        {L"1.10", L"1.9", -1}, {L"\u00e9", L"z", 1},
        {L"same", L"same", 0}, {L"\U0001F600", L"\uFFFF", 1},
    };
    for (const Case& c : cases) {
        String a(c.a), b(c.b);
        const int sign = (a < b) ? -1 : (a > b ? 1 : 0);
        EXPECT_EQ(sign, c.sign) << "row " << (&c - cases);
        EXPECT_TRUE((a == b) == (c.sign == 0) && (a != b) == (c.sign != 0) &&
                    (a <= b) == (c.sign <= 0) && (a >= b) == (c.sign >= 0))
            << "row " << (&c - cases);
    }
}

TEST(SdkString, ToLongReadsOneSignedDecimalNumber) {
    struct Case {
        const wchar_t* text;
        bool strict;
        bool ok;
        long value; // 12345: left alone
    };
    const Case cases[] = {
        {L"42", true, true, 42},
        {L"  -17  ", true, true, -17},
        {L"+5", true, true, 5},
        {L"-0", true, true, 0},
        {L"9223372036854775807", true, true, LONG_MAX},
        {L"-9223372036854775808", true, true, LONG_MIN},
        {L"12x", false, true, 12},
        {L"9223372036854775808", true, false, 12345},
        {L"-9223372036854775809", true, false, 12345},
        {L"   ", true, false, 12345},
        {L"12x", true, false, 12345},
        {L"1 2", true, false, 12345},
        {L"--1", true, false, 12345},
        {L"0x10", true, false, 12345},
        {L"-", true, false, 12345},
        {L"x12", false, false, 12345},
    };
    for (const Case& c : cases) {
        long value = 12345;
        EXPECT_EQ(String(c.text).toLong(value, c.strict), c.ok) << "'" << c.text << "'";
        EXPECT_EQ(value, c.value) << "'" << c.text << "'";
    }
}

TEST(SdkString, TextsInAndOut) {
    String text(static_cast<const wchar_t*>(nullptr));
    text += L"ab";
    text += static_cast<const wchar_t*>(nullptr);
    EXPECT_TRUE(text == L"ab" && text != L"AB" && text.length() == 2);
    text = static_cast<const char*>(nullptr);
    EXPECT_TRUE(text == L"");
    // Narrow texts are UTF-8 whatever the locale; invalid bytes become U+FFFD,
    // and so does a value without a UTF-8 form on the way out.
    text = "caf\xC3\xA9 a\xFF"
           "b\xC3 \xE0\x80\x80";
    EXPECT_TRUE(text == L"caf\u00e9 a\uFFFDb\uFFFD \uFFFD");
    const wchar_t unencodable[] = {L'a', static_cast<wchar_t>(0xD800), L'b', 0};
    char* narrow = String::getMultibyteString(unencodable);
    EXPECT_STREQ(narrow, "a\xEF\xBF\xBD"
                         "b");
    brel_free(narrow);
    EXPECT_EQ(String::getMultibyteString(nullptr), nullptr);
}

TEST(SdkString, ToUpperCaseFollowsTheLocale) {
    String ascii(L"abc-XYZ-1");
    ascii.toUpperCase();
    EXPECT_TRUE(ascii == L"ABC-XYZ-1");
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    if (std::setlocale(LC_CTYPE, "C.UTF-8")) {
        String accented(L"\u00e9t\u00e9");
        accented.toUpperCase();
        EXPECT_TRUE(accented == L"\u00c9T\u00c9");
    }
    std::setlocale(LC_CTYPE, saved.c_str());
}
