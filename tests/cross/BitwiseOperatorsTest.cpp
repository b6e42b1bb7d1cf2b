// BitwiseAnd, BitwiseInclusiveOr and BitwiseExclusiveOr driven as a host
// drives them, across the whole 64-bit range.
#include "common/Converter.h"
#include "support/HostDriver.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using testsupport::HostDriver;

namespace {

const wchar_t* const kOperators[] = {L"BitwiseAnd", L"BitwiseInclusiveOr", L"BitwiseExclusiveOr"};

std::wstring combine(HostDriver& host, const wchar_t* name, const wchar_t* first,
                     const wchar_t* second, TErrorCode* rc = nullptr) {
    auto op = host.create(name);
    EXPECT_EQ(HostDriver::feed(*op, first), 0) << "'" << first << "'";
    EXPECT_EQ(HostDriver::feed(*op, second), 0) << "'" << second << "'";
    EXPECT_TRUE(op->isReady());
    std::wstring result = L"stale";
    TErrorCode code = HostDriver::scalar(*op, result);
    if (rc)
        *rc = code;
    else
        EXPECT_EQ(code, 0);
    return result;
}

} // namespace

TEST(Bitwise, CombinesDecimalOperands) {
    struct Case {
        const wchar_t* first;
        const wchar_t* second;
        const wchar_t* andResult;
        const wchar_t* orResult;
        const wchar_t* xorResult;
    };
    const Case cases[] = {
        {L"12", L"10", L"8", L"14", L"6"},
        {L"5", L"5", L"5", L"5", L"0"},
        {L"0", L"0", L"0", L"0", L"0"},
        {L"-1", L"5", L"5", L"18446744073709551615", L"18446744073709551610"},
        {L"-1", L"0", L"0", L"18446744073709551615", L"18446744073709551615"},
        {L"18446744073709551615", L"9223372036854775808", L"9223372036854775808",
         L"18446744073709551615", L"9223372036854775807"},
        {L"12297829382473034410", L"6148914691236517205", L"0", L"18446744073709551615",
         L"18446744073709551615"},
        {L"9223372036854775808", L"1", L"0", L"9223372036854775809", L"9223372036854775809"},
        // Read as decimal numbers: blanks, a sign, trailing text, leading zeros.
        {L"  12", L"+10xyz", L"8", L"14", L"6"},
        {L"00", L"-0", L"0", L"0", L"0"},
        {L"0abc", L"7", L"0", L"7", L"7"},
    };
    HostDriver host;
    for (const Case& row : cases) {
        SCOPED_TRACE(std::wstring(row.first) + L" , " + row.second);
        EXPECT_EQ(combine(host, L"BitwiseAnd", row.first, row.second), row.andResult);
        EXPECT_EQ(combine(host, L"BitwiseInclusiveOr", row.first, row.second), row.orResult);
        EXPECT_EQ(combine(host, L"BitwiseExclusiveOr", row.first, row.second), row.xorResult);
    }
}

TEST(Bitwise, ResultsReadBackToTheCombinedBits) {
    std::vector<unsigned long> values = {0, ULONG_MAX, 0xF0F0F0F0F0F0F0F0UL};
    for (int bit = 0; bit < 64; bit += 7)
        values.insert(values.end(), {1UL << bit, ~(1UL << bit)});
    HostDriver host;
    for (unsigned long a : values) {
        for (unsigned long b : values) {
            const std::wstring first = CorePlugin::Converter::toString(a).str();
            const std::wstring second = CorePlugin::Converter::toString(b).str();
            const unsigned long expected[] = {a & b, a | b, a ^ b};
            for (int i = 0; i < 3; ++i) {
                std::wstring text = combine(host, kOperators[i], first.c_str(), second.c_str());
                unsigned long readBack = 0;
                ASSERT_EQ(CorePlugin::Converter::toUnsignedLong(text.c_str(), readBack), 0);
                EXPECT_EQ(readBack, expected[i]) << a << " " << b << " op " << i;
            }
        }
    }
}

TEST(Bitwise, CountsOnlyAcceptedOperands) {
    HostDriver host;
    for (const wchar_t* name : kOperators) {
        SCOPED_TRACE(name);
        auto op = host.create(name);
        std::wstring result = L"stale";
        EXPECT_EQ(HostDriver::scalar(*op, result), -10007);
        EXPECT_EQ(result, L"");

        EXPECT_EQ(HostDriver::feed(*op, L"abc"), -11019);
        EXPECT_EQ(HostDriver::feed(*op, L"x10"), -11019);
        EXPECT_EQ(HostDriver::feed(*op, L""), -11019);
        EXPECT_EQ(HostDriver::feed(*op, L"18446744073709551616"), -11019);
        EXPECT_EQ(HostDriver::feed(*op, L"3"), 0);
        EXPECT_FALSE(op->isReady());
        result = L"stale";
        EXPECT_EQ(HostDriver::scalar(*op, result), -10007);
        EXPECT_EQ(result, L"");

        EXPECT_EQ(HostDriver::feed(*op, L"x"), -11019);
        EXPECT_EQ(HostDriver::feed(*op, L"3"), 0);
        EXPECT_TRUE(op->isReady());
        // A third operand is refused before it is read, and changes nothing.
        EXPECT_EQ(HostDriver::feed(*op, L"12"), -10005);
        EXPECT_EQ(HostDriver::feed(*op, L"abc"), -10005);
        EXPECT_EQ(HostDriver::scalar(*op, result), 0);
        const bool isXor = std::wstring(name) == L"BitwiseExclusiveOr";
        EXPECT_EQ(result, isXor ? L"0" : L"3");
    }
}

TEST(Bitwise, DisposeAcceptsTwoNewOperands) {
    HostDriver host;
    auto op = host.create(L"BitwiseInclusiveOr");
    ASSERT_EQ(HostDriver::feed(*op, L"1"), 0);
    ASSERT_EQ(HostDriver::feed(*op, L"2"), 0);
    op->disposeExpression();
    EXPECT_FALSE(op->isReady());
    std::wstring result;
    EXPECT_EQ(HostDriver::scalar(*op, result), -10007);
    ASSERT_EQ(HostDriver::feed(*op, L"4"), 0);
    ASSERT_EQ(HostDriver::feed(*op, L"8"), 0);
    EXPECT_EQ(HostDriver::scalar(*op, result), 0);
    EXPECT_EQ(result, L"12");
}
