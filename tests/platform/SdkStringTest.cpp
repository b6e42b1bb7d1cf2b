// The host SDK's string: number reading, case mapping, UTF-8 texts (its order
// is seen through Sort end to end).
#include "PluginSDK/String.h"
#include "base/WideText.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>
#include <utility>

using PluginSDK::String;

TEST(SdkString, ToLongReadsOneSignedDecimalNumber) {
    const std::pair<const wchar_t*, long> accepted[] = {{L"42", 42},
                                                        {L"  -17  ", -17},
                                                        {L"+5", 5},
                                                        {L"-0", 0},
                                                        {L"9223372036854775807", LONG_MAX},
                                                        {L"-9223372036854775808", LONG_MIN}};
    for (const auto& a : accepted) {
        long value = 12345;
        EXPECT_TRUE(String(a.first).toLong(value, true) && value == a.second) << a.first;
    }
    // A refused text leaves the value alone.
    for (const wchar_t* text : {L"   ", L"12x", L"1 2", L"--1", L"0x10", L"-",
                                L"9223372036854775808", L"-9223372036854775809"}) {
        long value = 12345;
        EXPECT_TRUE(!String(text).toLong(value, true) && value == 12345) << text;
    }
    // Without strictness what follows the number is ignored.
    long value = 12345;
    EXPECT_TRUE(String(L"12x").toLong(value, false) && value == 12);
    EXPECT_TRUE(!String(L"x12").toLong(value, false) && value == 12);
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
