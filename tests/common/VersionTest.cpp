// Version texts, their order and their text form; String and CiString.
#include "common/Version.h"
#include "common/CiString.h"
#include "common/Converter.h"
#include "common/String.h"

#include "base/WideText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace CorePlugin;

namespace {

constexpr TErrorCode kInvalid = -11008;
constexpr unsigned long kMax = ULONG_MAX;

std::wstring textOf(Version version) {
    return Converter::toString(version).str();
}

} // namespace

TEST(Version, SetReadsVersionTexts) {
    struct Case {
        const wchar_t* text;
        TErrorCode rc;
        Version::Fields fields;
    };
    const Case cases[] = {
        {L"1.2.3.4", 0, {1, 2, 3, 4}},
        {L"1,2_3.4", 0, {1, 2, 3, 4}},
        {L"1.2", 0, {1, 2, 0, 0}},
        {L"7", 0, {7, 0, 0, 0}},
        {L"", 0, {0, 0, 0, 0}},
        // Separators anywhere: empty fields vanish and later fields move left.
        {L"1...", 0, {1, 0, 0, 0}},
        {L"1..2", 0, {1, 2, 0, 0}},
        {L".5", 0, {5, 0, 0, 0}},
        {L"_1,2.", 0, {1, 2, 0, 0}},
        {L"...", 0, {0, 0, 0, 0}},
        {L"010.002", 0, {10, 2, 0, 0}},
        // Fields are unsigned 64-bit decimals.
        {L"18446744073709551615.0.0.18446744073709551615", 0, {kMax, 0, 0, kMax}},
        {L"9223372036854775808", 0, {9223372036854775808UL, 0, 0, 0}},
        {L"18446744073709551616", kInvalid, {}},
        {L"1.99999999999999999999", kInvalid, {}},
        // Other characters or a fourth separator.
        {L"1.2.3.4.5", kInvalid, {}},
        {L"....", kInvalid, {}},
        {L"1.2.3.x", kInvalid, {}},
        {L" 1.2", kInvalid, {}},
        {L"1.2 ", kInvalid, {}},
        {L"-1", kInvalid, {}},
        {L"+1", kInvalid, {}},
        {L"a1", kInvalid, {}},
        {L"1;2", kInvalid, {}},
        {nullptr, kInvalid, {}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.text ? std::wstring(L"'") + row.text + L"'" : std::wstring(L"null"));
        // A refused text does not keep the earlier value: the fields become 0.
        Version version(9, 9, 9, 9);
        EXPECT_EQ(version.set(row.text), row.rc);
        EXPECT_EQ(version.orderValue(), row.fields);
    }
}

TEST(Version, IsValidAndGetFieldFollowTheTokens) {
    Version version(0, 0, 0, 0);
    EXPECT_TRUE(version.isValid(L"1,,2"));
    EXPECT_FALSE(version.isValid(L"1.2.3.4.5"));
    EXPECT_FALSE(version.isValid(nullptr));
    EXPECT_EQ(version.getField(L"1..2", 0), 1UL);
    EXPECT_EQ(version.getField(L"1..2", 1), 2UL);
    EXPECT_EQ(version.getField(L"1..2", 2), 0UL);
    EXPECT_EQ(version.getField(L"1.2.3.4", 3), 4UL);
    EXPECT_EQ(version.getField(L"1.2.3.4", 60000), 0UL);
}

TEST(Version, OrdersFieldByFieldAsUnsignedNumbers) {
    struct Case {
        const wchar_t* lower;
        const wchar_t* higher;
    };
    const Case cases[] = {
        {L"1.99.99.99", L"2.0.0.0"},
        {L"1.9", L"1.10"},
        {L"1.2.3.4", L"1.2.3.5"},
        {L"1.2.3.99", L"1.2.4.0"},
        {L"0.0.0.18446744073709551615", L"0.0.1"},
        {L"1", L"9223372036854775808"},
        {L"9223372036854775807", L"18446744073709551615"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(std::wstring(row.lower) + L" < " + row.higher);
        Version lower(0, 0, 0, 0), higher(0, 0, 0, 0);
        ASSERT_EQ(lower.set(row.lower), 0);
        ASSERT_EQ(higher.set(row.higher), 0);
        EXPECT_TRUE(lower < higher);
        EXPECT_TRUE(lower <= higher);
        EXPECT_TRUE(lower != higher);
        EXPECT_FALSE(lower >= higher);
        EXPECT_FALSE(lower > higher);
        EXPECT_FALSE(lower == higher);
        EXPECT_TRUE(higher > lower);
    }
}

TEST(Version, EqualSpellingsAreEqual) {
    const wchar_t* spellings[] = {L"1.2", L"1.2.0.0", L"1,2", L"1_2", L"1..2.", L".1.2"};
    Version reference(1, 2, 0, 0);
    for (const wchar_t* text : spellings) {
        Version version(5, 5, 5, 5);
        ASSERT_EQ(version.set(text), 0) << "'" << text << "'";
        EXPECT_TRUE(version == reference) << "'" << text << "'";
        EXPECT_TRUE(version <= reference);
        EXPECT_TRUE(version >= reference);
        EXPECT_FALSE(version != reference);
        EXPECT_FALSE(version < reference);
        EXPECT_FALSE(version > reference);
    }
}

TEST(Version, TextFormReadsBackToTheSameVersion) {
    EXPECT_EQ(textOf(Version(1, 2, 3, 4)), L"1.2.3.4");
    EXPECT_EQ(textOf(Version(kMax, kMax, kMax, kMax)),
              L"18446744073709551615.18446744073709551615.18446744073709551615."
              L"18446744073709551615");

    Version version(1, 2, 3, 4);
    wchar_t* text = version.get();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, L"1.2.3.4");
    brel_free(text);
    EXPECT_EQ(version.set(4, 3, 2, 1), 0);
    EXPECT_EQ(textOf(version), L"4.3.2.1");

    for (const Version& original :
         {Version(0, 0, 0, 0), Version(kMax, 1, 0x8000000000000000UL, 7)}) {
        Version readBack(9, 9, 9, 9);
        ASSERT_EQ(readBack.set(Converter::toString(original)), 0);
        EXPECT_EQ(readBack.orderValue(), original.orderValue());
    }
}

TEST(TextKinds, CiStringIgnoresCaseAndStringDoesNot) {
    CiString lower(L"abc"), upper(L"ABC");
    EXPECT_TRUE(lower == upper);
    String plainLower(L"abc"), plainUpper(L"ABC");
    EXPECT_FALSE(plainLower == plainUpper);
    EXPECT_TRUE(plainUpper < plainLower); // code-point order

    CiString set(nullptr);
    EXPECT_EQ(set.set(L"MiXeD"), 0);
    EXPECT_EQ(set.orderValue().str(), L"MIXED");

    // The same text as String and CiString: different kinds, no relation.
    String text(L"ABC");
    EXPECT_FALSE(text == upper);
    EXPECT_FALSE(text != upper);
    EXPECT_FALSE(upper == text);
}

TEST(TextKinds, NullAndEmptyAreTheEmptyText) {
    String fromNull(nullptr), empty(L"");
    EXPECT_TRUE(fromNull == empty);
    EXPECT_EQ(empty.set(nullptr), 0);
    EXPECT_TRUE(empty == fromNull);
    String a(L"a");
    EXPECT_TRUE(empty < a); // a text comes before its extensions
}
