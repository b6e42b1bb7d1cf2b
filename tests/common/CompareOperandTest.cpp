// The relation dispatch and the comparison procedure of CompareOperand,
// driven through a test subclass whose operands are scripted.
#include "common/CompareOperand.h"
#include "common/Integer.h"
#include "common/String.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace CorePlugin;

namespace {

// An Integer that counts the live instances, to show that none is leaked.
class TrackedInteger : public Integer {
public:
    explicit TrackedInteger(long value) : Integer(value) { ++s_Live; }
    TrackedInteger(const TrackedInteger& other) : Integer(other) { ++s_Live; }
    ~TrackedInteger() override { --s_Live; }
    static int s_Live;
};
int TrackedInteger::s_Live = 0;

// One operand getter's script: a code, or 0 and a new value.
struct Script {
    TErrorCode rc;
    long value;
};

class ScriptedCompareOperand : public CompareOperand {
public:
    ScriptedCompareOperand(Script first, Script second) : m_First(first), m_Second(second) {}

    void disposeExpression() override {}
    TErrorCode getFirstOperand(Comparable** first) override {
        m_Calls.push_back("first");
        return produce(m_First, first);
    }
    TErrorCode getSecondOperand(Comparable** second) override {
        m_Calls.push_back("second");
        return produce(m_Second, second);
    }
    const std::vector<std::string>& calls() const { return m_Calls; }

private:
    static TErrorCode produce(const Script& script, Comparable** out) {
        *out = script.rc == 0 ? new TrackedInteger(script.value) : nullptr;
        return script.rc;
    }
    Script m_First;
    Script m_Second;
    std::vector<std::string> m_Calls;
};

constexpr TErrorCode kFileMissing = -11033;

struct Outcome {
    TErrorCode rc;
    std::wstring result;
};

Outcome evaluate(CompareOperand& operand) {
    PluginSDK::String result(L"stale");
    TErrorCode rc = operand.getScalarResult(result);
    return Outcome{rc, result.str()};
}

} // namespace

TEST(CompareOperandCompare, AppliesTheNamedRelationFirstOnTheLeft) {
    struct Case {
        const wchar_t* relation;
        bool oneVersusTwo;
        bool twoVersusOne;
        bool oneVersusOne;
    };
    const Case cases[] = {
        {L"eq", false, false, true}, {L"ne", true, true, false},  {L"gt", false, true, false},
        {L"ge", false, true, true},  {L"lt", true, false, false}, {L"le", true, false, true},
    };
    Integer one(1), two(2), oneAgain(1);
    for (const Case& row : cases) {
        SCOPED_TRACE(row.relation);
        bool result = !row.oneVersusTwo;
        EXPECT_EQ(CompareOperand::compare(&one, &two, row.relation, result), 0);
        EXPECT_EQ(result, row.oneVersusTwo);
        EXPECT_EQ(CompareOperand::compare(&two, &one, row.relation, result), 0);
        EXPECT_EQ(result, row.twoVersusOne);
        EXPECT_EQ(CompareOperand::compare(&one, &oneAgain, row.relation, result), 0);
        EXPECT_EQ(result, row.oneVersusOne);
    }
}

TEST(CompareOperandCompare, RefusesUnknownRelationsAndNullArguments) {
    Integer one(1), two(2);
    for (const wchar_t* relation : {L"EQ", L"==", L"", L" eq", L"eq ", L"equal", L"e"}) {
        bool result = true;
        EXPECT_EQ(CompareOperand::compare(&one, &two, relation, result), -11007)
            << "'" << relation << "'";
        EXPECT_TRUE(result) << "the result is not written";
    }
    bool result = false;
    EXPECT_EQ(CompareOperand::compare(nullptr, &two, L"eq", result), -101);
    EXPECT_EQ(CompareOperand::compare(&one, nullptr, L"eq", result), -101);
    EXPECT_EQ(CompareOperand::compare(&one, &two, nullptr, result), -101);
}

TEST(CompareOperandCompare, OperandsOfDifferentKindsAreNeverRelated) {
    Integer five(5);
    String text(L"5");
    for (const wchar_t* relation : {L"eq", L"ne", L"gt", L"ge", L"lt", L"le"}) {
        bool result = true;
        EXPECT_EQ(CompareOperand::compare(&five, &text, relation, result), 0);
        EXPECT_FALSE(result) << relation;
    }
}

TEST(CompareOperandProcedure, CodesComeInOrderAndNoOperandIsLeft) {
    struct Case {
        const char* name;
        const wchar_t* relation; // null: property absent
        const wchar_t* mustExist;
        Script first;
        Script second;
        TErrorCode rc;
        const wchar_t* result;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"relation missing comes first", nullptr, nullptr, {-11025, 0}, {-101, 0}, -11023, L"", {}},
        {"relation missing before a missing file",
         nullptr,
         L"true",
         {kFileMissing, 0},
         {0, 1},
         -11023,
         L"",
         {}},
        {"first operand fails", L"eq", nullptr, {-11025, 0}, {-101, 0}, -11025, L"", {"first"}},
        {"second operand fails", L"eq", nullptr, {0, 1}, {-101, 0}, -101, L"", {"first", "second"}},
        {"unknown relation after both operands",
         L"EQ",
         nullptr,
         {0, 1},
         {0, 1},
         -11007,
         L"",
         {"first", "second"}},
        {"unknown relation before a bad second",
         L"EQ",
         nullptr,
         {0, 1},
         {-101, 0},
         -101,
         L"",
         {"first", "second"}},
        {"missing file, mustExist absent",
         L"eq",
         nullptr,
         {kFileMissing, 0},
         {0, 1},
         0,
         L"false",
         {"first"}},
        {"missing file, mustExist false",
         L"ne",
         L"false",
         {kFileMissing, 0},
         {0, 1},
         0,
         L"false",
         {"first"}},
        {"missing file, relation not looked at",
         L"bogus",
         L"false",
         {kFileMissing, 0},
         {0, 1},
         0,
         L"false",
         {"first"}},
        {"missing file, mustExist true",
         L"eq",
         L"true",
         {kFileMissing, 0},
         {0, 1},
         kFileMissing,
         L"",
         {"first"}},
        {"missing file, mustExist TRUE",
         L"eq",
         L"TRUE",
         {kFileMissing, 0},
         {0, 1},
         -11028,
         L"",
         {"first"}},
        {"missing file, mustExist yes",
         L"eq",
         L"yes",
         {kFileMissing, 0},
         {0, 1},
         -11028,
         L"",
         {"first"}},
        {"mustExist ignored when the file exists",
         L"eq",
         L"yes",
         {0, 3},
         {0, 3},
         0,
         L"true",
         {"first", "second"}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        ScriptedCompareOperand operand(row.first, row.second);
        operand.setProperty(L"relation", row.relation);
        operand.setProperty(L"mustExist", row.mustExist);
        Outcome outcome = evaluate(operand);
        EXPECT_EQ(outcome.rc, row.rc);
        EXPECT_EQ(outcome.result, row.result);
        EXPECT_EQ(operand.calls(), row.calls);
        EXPECT_EQ(TrackedInteger::s_Live, 0);
    }
}

TEST(CompareOperandProcedure, GetOperandsGivesBothOrNone) {
    ScriptedCompareOperand failing({0, 1}, {-101, 0});
    Integer placeholder(0); // both outputs are overwritten
    Comparable* first = &placeholder;
    Comparable* second = &placeholder;
    EXPECT_EQ(failing.getOperands(&first, &second), -101);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(TrackedInteger::s_Live, 0);

    ScriptedCompareOperand working({0, 1}, {0, 2});
    ASSERT_EQ(working.getOperands(&first, &second), 0);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(TrackedInteger::s_Live, 2);
    delete first;
    delete second;
    EXPECT_EQ(TrackedInteger::s_Live, 0);
}

TEST(CompareOperandProcedure, PropertyReaders) {
    ScriptedCompareOperand operand({0, 1}, {0, 1});
    const wchar_t* relation = L"stale";
    EXPECT_EQ(operand.getRelation(&relation), -11023);
    EXPECT_EQ(relation, nullptr);
    operand.setProperty(L"relation", L"ge");
    EXPECT_EQ(operand.getRelation(&relation), 0);
    EXPECT_STREQ(relation, L"ge");

    bool mustExist = true;
    EXPECT_EQ(operand.getMustExistAttribute(mustExist), 0);
    EXPECT_FALSE(mustExist) << "absent reads as false";
    operand.setProperty(L"mustExist", L"true");
    EXPECT_EQ(operand.getMustExistAttribute(mustExist), 0);
    EXPECT_TRUE(mustExist);
    operand.setProperty(L"mustExist", L"false");
    EXPECT_EQ(operand.getMustExistAttribute(mustExist), 0);
    EXPECT_FALSE(mustExist);
    for (const wchar_t* text : {L"True", L"", L"1"}) {
        operand.setProperty(L"mustExist", text);
        mustExist = true;
        EXPECT_EQ(operand.getMustExistAttribute(mustExist), -11028) << "'" << text << "'";
        EXPECT_TRUE(mustExist) << "left as it was";
    }
}
