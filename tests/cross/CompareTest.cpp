// Compare driven as a host drives it: typed comparison and the order of codes.
#include "support/HostDriver.h"

#include <gtest/gtest.h>

#include <string>

using testsupport::HostDriver;

namespace {

struct Case {
    const wchar_t* type; // null: property absent
    const wchar_t* relation;
    const wchar_t* first;
    const wchar_t* second;
    TErrorCode rc;
    const wchar_t* result;
};

void expectCase(HostDriver& host, const Case& row) {
    SCOPED_TRACE(std::wstring(row.type ? row.type : L"(no type)") + L" " +
                 (row.relation ? row.relation : L"(no relation)") + L" '" + row.first + L"' '" +
                 row.second + L"'");
    auto op = host.create(L"Compare");
    op->setProperty(L"type", row.type);
    op->setProperty(L"relation", row.relation);
    EXPECT_EQ(HostDriver::feed(*op, row.first), 0);
    EXPECT_FALSE(op->isReady());
    EXPECT_EQ(HostDriver::feed(*op, row.second), 0);
    EXPECT_TRUE(op->isReady());
    std::wstring result = L"stale";
    EXPECT_EQ(HostDriver::scalar(*op, result), row.rc);
    EXPECT_EQ(result, row.result);
}

} // namespace

TEST(Compare, ComparesByTheNamedKind) {
    const Case cases[] = {
        {L"version", L"gt", L"1.10", L"1.9", 0, L"true"},
        {L"string", L"gt", L"1.10", L"1.9", 0, L"false"},
        {L"version", L"eq", L"1,2", L"1.2.0.0", 0, L"true"},
        {L"version", L"ge", L"", L"0.0.0.0", 0, L"true"},
        {L"version", L"lt", L"9223372036854775807", L"18446744073709551615", 0, L"true"},
        {L"integer", L"lt", L"-1", L"1", 0, L"true"},
        {L"uinteger", L"lt", L"-1", L"1", 0, L"false"},
        {L"uinteger", L"eq", L"-1", L"18446744073709551615", 0, L"true"},
        {L"uinteger", L"eq", L"00", L"0", 0, L"true"},
        {L"integer", L"eq", L"-0", L"+0", 0, L"true"},
        {L"integer", L"ne", L" 42abc", L"42", 0, L"false"},
        {L"hex", L"eq", L"0xff", L"FF", 0, L"true"},
        {L"hex", L"eq", L"", L"0X0", 0, L"true"},
        {L"hex", L"gt", L"-1", L"fffffffffffffffe", 0, L"true"},
        {L"cistring", L"eq", L"Abc", L"aBC", 0, L"true"},
        {L"string", L"eq", L"Abc", L"aBC", 0, L"false"},
        {L"string", L"le", L"", L"", 0, L"true"},
        {L"string", L"lt", L"ab", L"abc", 0, L"true"},
        {L"boolean", L"gt", L"true", L"false", 0, L"true"},
        {L"boolean", L"ne", L"false", L"false", 0, L"false"},
    };
    HostDriver host;
    for (const Case& row : cases)
        expectCase(host, row);
}

TEST(Compare, CodesComeInTheirOrder) {
    const Case cases[] = {
        // Properties: type before relation, presence only.
        {nullptr, nullptr, L"1", L"1", -11026, L""},
        {nullptr, L"eq", L"1", L"1", -11026, L""},
        {L"integer", nullptr, L"1", L"1", -11023, L""},
        {L"bogus", nullptr, L"1", L"1", -11023, L""},
        // Then the type's name, before operands and relation.
        {L"Integer", L"eq", L"1", L"1", -11010, L""},
        {L"int", L"bogus", L"x", L"y", -11010, L""},
        {L" integer", L"eq", L"1", L"1", -11010, L""},
        // Then the operands, before the relation's name.
        {L"boolean", L"eq", L"true", L"TRUE", -101, L""},
        {L"boolean", L"EQ", L"True", L"true", -101, L""},
        {L"integer", L"eq", L"0", L"", -101, L""},
        {L"integer", L"eq", L"9223372036854775808", L"0", -101, L""},
        {L"uinteger", L"==", L"", L"1", -101, L""},
        {L"uinteger", L"eq", L"1", L"18446744073709551616", -101, L""},
        {L"hex", L"eq", L"g", L"1", -101, L""},
        {L"version", L"eq", L"1.2.3.4.5", L"1", -11008, L""},
        {L"version", L"EQ", L"1", L"1.x", -11008, L""},
        {L"version", L"eq", L"18446744073709551616", L"1", -11008, L""},
        // Last the relation's name.
        {L"integer", L"EQ", L"1", L"1", -11007, L""},
        {L"integer", L"==", L"1", L"1", -11007, L""},
        {L"string", L"eq ", L"a", L"a", -11007, L""},
    };
    HostDriver host;
    for (const Case& row : cases)
        expectCase(host, row);
}

TEST(Compare, CountsItsTwoOperands) {
    HostDriver host;
    auto op = host.create(L"Compare", {{L"type", L"integer"}, {L"relation", L"lt"}});
    std::wstring result = L"stale";
    EXPECT_EQ(HostDriver::scalar(*op, result), -10007);
    EXPECT_EQ(result, L"");
    ASSERT_EQ(HostDriver::feed(*op, L"1"), 0);
    EXPECT_EQ(HostDriver::scalar(*op, result), -10007);
    ASSERT_EQ(HostDriver::feed(*op, L"2"), 0);
    EXPECT_EQ(HostDriver::feed(*op, L"0"), -10005);
    EXPECT_TRUE(op->isReady());
    EXPECT_EQ(HostDriver::scalar(*op, result), 0);
    EXPECT_EQ(result, L"true") << "the third operand changed nothing";

    // Each result is computed anew from the current properties.
    op->setProperty(L"relation", L"gt");
    EXPECT_EQ(HostDriver::scalar(*op, result), 0);
    EXPECT_EQ(result, L"false");
    op->setProperty(L"type", L"string");
    op->setProperty(L"relation", L"eq");
    EXPECT_EQ(HostDriver::scalar(*op, result), 0);
    EXPECT_EQ(result, L"false");

    op->disposeExpression();
    EXPECT_FALSE(op->isReady());
    EXPECT_EQ(HostDriver::scalar(*op, result), -10007);
    ASSERT_EQ(HostDriver::feed(*op, L"x"), 0);
    ASSERT_EQ(HostDriver::feed(*op, L"x"), 0);
    EXPECT_EQ(HostDriver::scalar(*op, result), 0);
    EXPECT_EQ(result, L"true");
}

TEST(Compare, OperandCountComesBeforeProperties) {
    HostDriver host;
    auto op = host.create(L"Compare");
    ASSERT_EQ(HostDriver::feed(*op, L"1"), 0);
    std::wstring result;
    EXPECT_EQ(HostDriver::scalar(*op, result), -10007);
}

TEST(Compare, TakesItsOperandsFromValueOfAsAHostWould) {
    HostDriver host;
    auto compare = host.create(L"Compare", {{L"type", L"version"}, {L"relation", L"ge"}});
    auto installed = host.create(L"ValueOf", {{L"value", L"10.0_19041"}});
    auto required = host.create(L"ValueOf", {{L"value", L"10.0.17763"}});
    for (auto* child : {installed.get(), required.get()}) {
        std::wstring text;
        ASSERT_EQ(HostDriver::scalar(*child, text), 0);
        ASSERT_EQ(HostDriver::feed(*compare, text.c_str()), 0);
    }
    std::wstring result;
    EXPECT_EQ(HostDriver::scalar(*compare, result), 0);
    EXPECT_EQ(result, L"true");
}
