// UTF-8 conversion of the base library (encoding a value without a UTF-8 form
// is seen through i_wcstombs and String::getMultibyteString).
#include "base/Utf8.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

TEST(Utf8, RoundTripsEveryScalarValueRange) {
    std::mt19937 random(7);
    std::uniform_int_distribution<unsigned int> pick(0, 0x10FFFF);
    for (int round = 0; round < 200; ++round) {
        std::wstring text;
        for (int i = 0; i < 50; ++i) {
            auto c = static_cast<wchar_t>(pick(random));
            if (base::isScalarValue(c) && c != 0)
                text.push_back(c);
        }
        std::string narrow;
        ASSERT_TRUE(base::encodeUtf8(text.data(), text.size(), narrow, false));
        std::wstring back;
        base::decodeUtf8(narrow.data(), narrow.size(), back);
        EXPECT_EQ(back, text);
    }
}

TEST(Utf8, DecodesEachInvalidSequenceToOneReplacement) {
    struct Case {
        std::string bytes;
        std::wstring expected;
    };
    const Case cases[] = {
        {"\x80", L"\uFFFD"},
        {"\xC0\xAF", L"\uFFFD\uFFFD"},   // C0 is never a lead byte
        {"\xE0\x80\xAF", L"\uFFFD"},     // overlong
        {"\xE0\x90\x80", L"\uFFFD"},     // U+0400 needs only two bytes
        {"\xF0\x8F\xBF\xBF", L"\uFFFD"}, // U+FFFF needs only three
        {"\xED\xA0\x80", L"\uFFFD"},     // encoded surrogate
        {"\xF4\x90\x80\x80", L"\uFFFD"}, // beyond U+10FFFF
        {"\xE2\x82"
         "A",
         L"\uFFFDA"},                // truncated, then ASCII
        {"\xF0\x9F\x98", L"\uFFFD"}, // truncated at the end
        {"ok", L"ok"},
    };
    for (const Case& c : cases) {
        std::wstring out;
        base::decodeUtf8(c.bytes.data(), c.bytes.size(), out);
        EXPECT_EQ(out, c.expected) << "row " << (&c - cases);
    }
}
