// CompareOperand where no expression reaches it: the base procedure with
// operands that fail or report a missing object. How texts read into each
// comparable kind and how Compare and FileInfoCompare answer are end-to-end
// cases (compare.json, fileinfocompare.json; kinds never related to each other
// where a missing file compares as a String).
#include "CorePlugin/common/CompareOperand.h"
#include "CorePlugin/common/Integer.h"

#include <gtest/gtest.h>

#include <string>

using namespace CorePlugin;

namespace {

// An operand whose two values are scripted: a code, or 0 and a new Integer.
class ScriptedOperand : public CompareOperand {
public:
    ScriptedOperand(TErrorCode first, TErrorCode second) : m_First(first), m_Second(second) {}
    void disposeExpression() override {}
    TErrorCode getFirstOperand(Comparable** first) override {
        m_Calls += L"1";
        return make(m_First, first);
    }
    TErrorCode getSecondOperand(Comparable** second) override {
        m_Calls += L"2";
        return make(m_Second, second);
    }
    std::wstring m_Calls;

private:
    static TErrorCode make(TErrorCode rc, Comparable** out) {
        *out = rc == 0 ? new Integer(7) : nullptr;
        return rc;
    }
    TErrorCode m_First, m_Second;
};

} // namespace

// FileInfoCompare shows the procedure end to end (fileinfocompare.json), but
// it reports a missing file only when "mustExist" is "true": the base's own
// check of "mustExist" and its handling of failing operands are seen here.
TEST(CompareOperand, AsksForTheOperandsInOrderAndChecksMustExistForAMissingObject) {
    struct Case {
        const wchar_t* relation;
        const wchar_t* mustExist; // null: not attached
        TErrorCode first, second;
        const wchar_t* outcome; // code, result, operands asked for
    };
    const Case cases[] = {
        {L"EQ", nullptr, -11025, 0, L"-11025  1"},
        {L"EQ", nullptr, 0, -101, L"-101  12"},
        {L"EQ", L"yes", 0, 0, L"-11007  12"},
        {L"eq", L"yes", 0, 0, L"0 true 12"},
        // A missing object: the relation's name is not looked at.
        {L"EQ", L"false", -11033, 0, L"0 false 1"},
        {L"eq", L"true", -11033, 0, L"-11033  1"},
        {L"eq", L"TRUE", -11033, 0, L"-11028  1"},
        {L"eq", L"", -11033, 0, L"-11028  1"},
    };
    for (const Case& c : cases) {
        ScriptedOperand operand(c.first, c.second);
        operand.setProperty(L"relation", c.relation);
        operand.setProperty(L"mustExist", c.mustExist);
        PluginSDK::String result(L"stale");
        const TErrorCode rc = operand.getScalarResult(result);
        EXPECT_EQ(std::to_wstring(rc) + L" " + result.str() + L" " + operand.m_Calls, c.outcome)
            << "row " << (&c - cases);
    }
}
