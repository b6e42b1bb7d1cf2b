// Conversions between unsigned numbers, truth values and text.
#include "common/Converter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <vector>

using CorePlugin::Converter;

namespace {

constexpr TErrorCode kNotANumber = -11019;

} // namespace

TEST(Converter, ToUnsignedLongReadsUnsignedDecimals) {
    struct Case {
        const wchar_t* text;
        TErrorCode rc;
        unsigned long value;
    };
    const Case cases[] = {
        {L"7", 0, 7},
        {L"0", 0, 0},
        {L"  12", 0, 12},
        {L"12abc", 0, 12},
        {L"-1", 0, ULONG_MAX},
        {L"18446744073709551615", 0, ULONG_MAX},
        // At least one digit read: a number, even when it is 0.
        {L"00", 0, 0},
        {L"+0", 0, 0},
        {L"-0", 0, 0},
        {L" 0", 0, 0},
        {L"0abc", 0, 0},
        {L"0x10", 0, 0},
        // No digit, or beyond 64 bits.
        {L"", kNotANumber, 0},
        {L"x", kNotANumber, 0},
        {L"abc", kNotANumber, 0},
        {L"x0", kNotANumber, 0},
        {L" ", kNotANumber, 0},
        {L"18446744073709551616", kNotANumber, 0},
        {L"99999999999999999999", kNotANumber, 0},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(std::wstring(L"'") + row.text + L"'");
        unsigned long value = 4242;
        errno = 0;
        EXPECT_EQ(Converter::toUnsignedLong(row.text, value), row.rc);
        EXPECT_EQ(value, row.value);
        EXPECT_EQ(errno, 0);
    }
}

TEST(Converter, ToStringWritesDecimalTexts) {
    EXPECT_EQ(Converter::toString(0UL).str(), L"0");
    EXPECT_EQ(Converter::toString(9223372036854775807UL).str(), L"9223372036854775807");
    EXPECT_EQ(Converter::toString(9223372036854775808UL).str(), L"9223372036854775808");
    EXPECT_EQ(Converter::toString(ULONG_MAX).str(), L"18446744073709551615");
    EXPECT_EQ(Converter::toString(-1L).str(), L"-1");
    EXPECT_EQ(Converter::toString(LONG_MIN).str(), L"-9223372036854775808");
    EXPECT_EQ(Converter::toString(true).str(), L"true");
    EXPECT_EQ(Converter::toString(false).str(), L"false");
}

TEST(Converter, EveryBitPatternReadsBackThroughItsText) {
    std::vector<unsigned long> values = {0, ULONG_MAX, 0xAAAAAAAAAAAAAAAAUL, 0x5555555555555555UL};
    for (int bit = 0; bit < 64; ++bit) {
        unsigned long single = 1UL << bit;
        values.insert(values.end(), {single, single - 1, ~single, single + 1});
    }
    for (unsigned long original : values) {
        unsigned long readBack = 0;
        ASSERT_EQ(Converter::toUnsignedLong(Converter::toString(original), readBack), 0)
            << original;
        EXPECT_EQ(readBack, original);
    }
}
