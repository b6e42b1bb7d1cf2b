// Reading the numeric comparable kinds from text, and their relations.
#include "common/Boolean.h"
#include "common/CiString.h"
#include "common/Hex.h"
#include "common/Integer.h"
#include "common/String.h"
#include "common/UInteger.h"
#include "common/Version.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <memory>
#include <string>
#include <vector>

using namespace CorePlugin;

namespace {

constexpr TErrorCode kRefused = -101;
constexpr unsigned long kMax = ULONG_MAX;
// A value that no row expects, to show that a refused text keeps the old value.
constexpr long kSentinel = 4242;

struct UnsignedCase {
    const wchar_t* text;
    TErrorCode rc;
    unsigned long value; // the value afterwards (kSentinel when refused)
};

template <typename Kind> void checkUnsignedTable(const std::vector<UnsignedCase>& cases) {
    for (const UnsignedCase& row : cases) {
        SCOPED_TRACE(row.text ? std::wstring(L"'") + row.text + L"'" : std::wstring(L"null"));
        Kind kind(kSentinel);
        EXPECT_EQ(kind.set(row.text), row.rc);
        EXPECT_EQ(kind.orderValue(), row.value);
    }
}

} // namespace

TEST(UInteger, SetReadsDecimalTexts) {
    checkUnsignedTable<UInteger>({
        {L"42", 0, 42},
        {L"  42", 0, 42},
        {L"\t+42", 0, 42},
        {L"42abc", 0, 42},
        {L"-1", 0, kMax},
        {L"-18446744073709551615", 0, 1},
        {L"0", 0, 0},
        {L"18446744073709551615", 0, kMax},
        // A text holds a number when a digit was read, whatever its value.
        {L"00", 0, 0},
        {L"+0", 0, 0},
        {L"-0", 0, 0},
        {L" 0", 0, 0},
        {L"0abc", 0, 0},
        {L"0x10", 0, 0},
        // No digit, or a number beyond 64 bits: refused, value kept.
        {L"99999999999999999999", kRefused, kSentinel},
        {L"18446744073709551616", kRefused, kSentinel},
        {L"-18446744073709551616", kRefused, kSentinel},
        {L"", kRefused, kSentinel},
        {L"abc", kRefused, kSentinel},
        {L"x0", kRefused, kSentinel},
        {L"+", kRefused, kSentinel},
        {L"- 1", kRefused, kSentinel},
        {L"+-1", kRefused, kSentinel},
        {nullptr, kRefused, kSentinel},
    });
}

TEST(Hex, SetReadsHexadecimalTexts) {
    checkUnsignedTable<Hex>({
        {L"ff", 0, 255},
        {L"FF", 0, 255},
        {L"0xff", 0, 255},
        {L"0XfF", 0, 255},
        {L" ff", 0, 255},
        {L"1g", 0, 1},
        {L"0", 0, 0},
        {L"00", 0, 0},
        {L"0x", 0, 0},
        {L"0x0", 0, 0},
        {L"", 0, 0},
        {L"-1", 0, kMax},
        {L"ffffffffffffffff", 0, kMax},
        {L"0x8000000000000000", 0, 0x8000000000000000UL},
        // Zero texts that a digit-count reading accepts.
        {L"0X0", 0, 0},
        {L"00x", 0, 0},
        {L" 0", 0, 0},
        {L"-0", 0, 0},
        {L"0xg", 0, 0},
        {L"g", kRefused, kSentinel},
        {L"x0", kRefused, kSentinel},
        {L" ", kRefused, kSentinel},
        {L"fffffffffffffffff", kRefused, kSentinel},
        {nullptr, kRefused, kSentinel},
    });
}

TEST(Hex, SetLeavesErrnoAlone) {
    Hex hex(0);
    errno = 0;
    EXPECT_EQ(hex.set(L"fffffffffffffffff"), kRefused);
    EXPECT_EQ(errno, 0);
}

TEST(Hex, IsZeroAcceptsOnlyZerosWithLowerCaseXSecond) {
    Hex hex(0);
    for (const wchar_t* text : {L"", L"0", L"000", L"0x", L"0x0", L"0x000"})
        EXPECT_TRUE(hex.isZero(text)) << "'" << text << "'";
    for (const wchar_t* text : {L"0X0", L" 0", L"x0", L"00x", L"-0", L"0x0x", L"1"})
        EXPECT_FALSE(hex.isZero(text)) << "'" << text << "'";
    EXPECT_FALSE(hex.isZero(nullptr));
}

TEST(Integer, SetReadsSignedDecimalTexts) {
    struct Case {
        const wchar_t* text;
        TErrorCode rc;
        long value;
    };
    const Case cases[] = {
        {L"0", 0, 0},
        {L"00", 0, 0},
        {L"-0", 0, 0},
        {L"+0", 0, 0},
        {L" 0", 0, 0},
        {L"0abc", 0, 0},
        {L"+5", 0, 5},
        {L" -17x", 0, -17},
        {L"9223372036854775807", 0, LONG_MAX},
        {L"-9223372036854775808", 0, LONG_MIN},
        {L"9223372036854775808", kRefused, kSentinel},
        {L"-9223372036854775809", kRefused, kSentinel},
        {L"99999999999999999999", kRefused, kSentinel},
        {L"abc", kRefused, kSentinel},
        {L"", kRefused, kSentinel},
        {L"-", kRefused, kSentinel},
        {nullptr, kRefused, kSentinel},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.text ? row.text : L"null");
        Integer integer(kSentinel);
        EXPECT_EQ(integer.set(row.text), row.rc);
        EXPECT_EQ(integer.orderValue(), row.value);
    }
}

TEST(Boolean, SetAcceptsExactlyTheTwoTruthTexts) {
    Boolean value(false);
    EXPECT_EQ(value.set(L"true"), 0);
    EXPECT_TRUE(value.orderValue());
    EXPECT_EQ(value.set(L"false"), 0);
    EXPECT_FALSE(value.orderValue());
    value = Boolean(true);
    for (const wchar_t* text : {L"True", L"TRUE", L" true", L"true ", L"1", L"", L"FALSE"}) {
        EXPECT_EQ(value.set(text), kRefused) << "'" << text << "'";
        EXPECT_TRUE(value.orderValue());
    }
    EXPECT_EQ(value.set(nullptr), kRefused);
}

namespace {

// Checks all six relations of a smaller and a larger value of one kind, both
// ways round, and of a value against an equal one.
void expectOrdered(Comparable& lower, Comparable& higher, Comparable& lowerAgain) {
    EXPECT_TRUE(lower < higher);
    EXPECT_TRUE(lower <= higher);
    EXPECT_TRUE(lower != higher);
    EXPECT_FALSE(lower > higher);
    EXPECT_FALSE(lower >= higher);
    EXPECT_FALSE(lower == higher);

    EXPECT_TRUE(higher > lower);
    EXPECT_TRUE(higher >= lower);
    EXPECT_TRUE(higher != lower);
    EXPECT_FALSE(higher < lower);
    EXPECT_FALSE(higher <= lower);
    EXPECT_FALSE(higher == lower);

    EXPECT_TRUE(lower == lowerAgain);
    EXPECT_TRUE(lower <= lowerAgain);
    EXPECT_TRUE(lower >= lowerAgain);
    EXPECT_FALSE(lower != lowerAgain);
    EXPECT_FALSE(lower < lowerAgain);
    EXPECT_FALSE(lower > lowerAgain);
}

} // namespace

TEST(ComparableKinds, EachKindOrdersItsOwnValues) {
    {
        SCOPED_TRACE("Boolean: false before true");
        Boolean f(false), t(true), f2(false);
        expectOrdered(f, t, f2);
    }
    {
        SCOPED_TRACE("Integer: signed");
        Integer a(-1), b(1), a2(-1);
        expectOrdered(a, b, a2);
        Integer min(LONG_MIN), max(LONG_MAX), min2(LONG_MIN);
        expectOrdered(min, max, min2);
    }
    {
        SCOPED_TRACE("UInteger: unsigned");
        UInteger a(1), b(kMax), a2(1);
        expectOrdered(a, b, a2);
    }
    {
        SCOPED_TRACE("Hex: unsigned");
        Hex a(1), b(0x8000000000000000UL), a2(1);
        expectOrdered(a, b, a2);
    }
    {
        SCOPED_TRACE("Version: field by field");
        Version a(1, 9, 0, 0), b(1, 10, 0, 0), a2(1, 9, 0, 0);
        expectOrdered(a, b, a2);
    }
    {
        SCOPED_TRACE("String");
        String a(L"abc"), b(L"abd"), a2(L"abc");
        expectOrdered(a, b, a2);
    }
    {
        SCOPED_TRACE("CiString");
        CiString a(L"abc"), b(L"ABD"), a2(L"ABC");
        expectOrdered(a, b, a2);
    }
}

TEST(ComparableKinds, DifferentKindsNeverRelate) {
    // One value of each kind, all spelling "5" or true: no conversion applies.
    std::vector<std::unique_ptr<Comparable>> values;
    values.emplace_back(new Boolean(true));
    values.emplace_back(new Integer(5));
    values.emplace_back(new UInteger(5));
    values.emplace_back(new Hex(5));
    values.emplace_back(new Version(5, 0, 0, 0));
    values.emplace_back(new String(L"5"));
    values.emplace_back(new CiString(L"5"));
    for (std::size_t i = 0; i < values.size(); ++i) {
        for (std::size_t j = 0; j < values.size(); ++j) {
            if (i == j)
                continue;
            SCOPED_TRACE("kinds " + std::to_string(i) + " and " + std::to_string(j));
            Comparable& a = *values[i];
            Comparable& b = *values[j];
            EXPECT_FALSE(a == b);
            EXPECT_FALSE(a != b);
            EXPECT_FALSE(a < b);
            EXPECT_FALSE(a <= b);
            EXPECT_FALSE(a > b);
            EXPECT_FALSE(a >= b);
        }
    }
}
