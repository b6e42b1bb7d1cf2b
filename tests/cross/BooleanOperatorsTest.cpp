// And, Or and Not driven as a host drives them.
#include "support/HostDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::HostDriver;

namespace {

constexpr TErrorCode kNotTruth = -10006;

// One child fed to an operator: the code `update` returns and whether the
// operator reports ready afterwards.
struct Step {
    const wchar_t* child;
    TErrorCode rc;
    bool readyAfter;
};

struct Case {
    const char* name;
    const wchar_t* expression;
    std::vector<Step> steps;
    TErrorCode resultRc;
    const wchar_t* result;
};

void run(HostDriver& host, const Case& row) {
    SCOPED_TRACE(row.name);
    auto op = host.create(row.expression);
    ASSERT_TRUE(op);
    EXPECT_FALSE(op->isReady());
    for (const Step& step : row.steps) {
        EXPECT_EQ(HostDriver::feed(*op, step.child), step.rc) << "child '" << step.child << "'";
        EXPECT_EQ(op->isReady(), step.readyAfter) << "after '" << step.child << "'";
    }
    std::wstring result = L"stale";
    EXPECT_EQ(HostDriver::scalar(*op, result), row.resultRc);
    EXPECT_EQ(result, row.result);
}

} // namespace

TEST(AndOr, ShortCircuitAndRefusals) {
    const Case cases[] = {
        {"And without operands", L"And", {}, 0, L"true"},
        {"And all true", L"And", {{L"true", 0, false}, {L"true", 0, false}}, 0, L"true"},
        {"And decided by false",
         L"And",
         {{L"true", 0, false}, {L"false", 0, true}, {L"true", 0, true}},
         0,
         L"false"},
        {"And refuses non-truth after deciding",
         L"And",
         {{L"false", 0, true}, {L"maybe", kNotTruth, true}, {L"false", 0, true}},
         0,
         L"false"},
        {"And refusals change nothing",
         L"And",
         {{L"True", kNotTruth, false},
          {L"TRUE", kNotTruth, false},
          {L"FALSE", kNotTruth, false},
          {L" false", kNotTruth, false},
          {L"1", kNotTruth, false},
          {L"0", kNotTruth, false},
          {L"", kNotTruth, false},
          {L"true", 0, false}},
         0,
         L"true"},
        {"Or without operands", L"Or", {}, 0, L"false"},
        {"Or all false", L"Or", {{L"false", 0, false}, {L"false", 0, false}}, 0, L"false"},
        {"Or decided by true",
         L"Or",
         {{L"false", 0, false}, {L"true", 0, true}, {L"nope", kNotTruth, true}},
         0,
         L"true"},
        {"Or ignores truth values once decided",
         L"Or",
         {{L"true", 0, true}, {L"false", 0, true}},
         0,
         L"true"},
        {"Or refusals change nothing",
         L"Or",
         {{L"True", kNotTruth, false}, {L"false ", kNotTruth, false}},
         0,
         L"false"},
    };
    HostDriver host;
    for (const Case& row : cases)
        run(host, row);
}

TEST(Not, TakesExactlyOneTruthValue) {
    const Case cases[] = {
        {"true", L"Not", {{L"true", 0, true}}, 0, L"false"},
        {"false", L"Not", {{L"false", 0, true}}, 0, L"true"},
        {"surplus truth value",
         L"Not",
         {{L"true", 0, true}, {L"false", -10004, true}},
         0,
         L"false"},
        {"truth check before count",
         L"Not",
         {{L"true", 0, true}, {L"x", kNotTruth, true}},
         0,
         L"false"},
        {"refused operand is not counted",
         L"Not",
         {{L"True", kNotTruth, false}, {L"false", 0, true}},
         0,
         L"true"},
        {"no operand", L"Not", {}, -10007, L""},
        {"only a refused operand", L"Not", {{L"", kNotTruth, false}}, -10007, L""},
    };
    HostDriver host;
    for (const Case& row : cases)
        run(host, row);
}

TEST(BooleanOperators, DisposeRestoresTheConstructedState) {
    HostDriver host;
    for (const wchar_t* name : {L"And", L"Or"}) {
        SCOPED_TRACE(name);
        auto op = host.create(name);
        const bool isAnd = std::wstring(name) == L"And";
        ASSERT_EQ(HostDriver::feed(*op, isAnd ? L"false" : L"true"), 0);
        ASSERT_TRUE(op->isReady());
        op->disposeExpression();
        EXPECT_FALSE(op->isReady());
        std::wstring result;
        EXPECT_EQ(HostDriver::scalar(*op, result), 0);
        EXPECT_EQ(result, isAnd ? L"true" : L"false");
        // Decides again on a fresh evaluation.
        EXPECT_EQ(HostDriver::feed(*op, isAnd ? L"false" : L"true"), 0);
        EXPECT_TRUE(op->isReady());
    }

    auto negation = host.create(L"Not");
    ASSERT_EQ(HostDriver::feed(*negation, L"true"), 0);
    negation->disposeExpression();
    EXPECT_FALSE(negation->isReady());
    std::wstring result;
    EXPECT_EQ(HostDriver::scalar(*negation, result), -10007);
    EXPECT_EQ(HostDriver::feed(*negation, L"true"), 0);
    EXPECT_EQ(HostDriver::scalar(*negation, result), 0);
    EXPECT_EQ(result, L"false");
}

TEST(Operators, RefuseVectorAndFailedChildrenExceptSwitch) {
    HostDriver host;
    const wchar_t* names[] = {L"And",
                              L"Or",
                              L"Not",
                              L"Compare",
                              L"Concat",
                              L"BitwiseAnd",
                              L"BitwiseInclusiveOr",
                              L"BitwiseExclusiveOr"};
    for (const wchar_t* name : names) {
        SCOPED_TRACE(name);
        auto op = host.create(name);
        ASSERT_TRUE(op);
        EXPECT_TRUE(op->isOperator());
        EXPECT_EQ(op->getType(), 0);
        EXPECT_FALSE(HostDriver::continueOnError(*op));
        EXPECT_EQ(HostDriver::feed(*op, {L"true", L"1"}), -102);
        EXPECT_EQ(HostDriver::feedError(*op, -11025), -102);
    }
    auto choice = host.create(L"Switch");
    EXPECT_TRUE(HostDriver::continueOnError(*choice));
    EXPECT_EQ(HostDriver::feed(*choice, {L"true"}), -102);

    auto literal = host.create(L"ValueOf");
    EXPECT_FALSE(literal->isOperator());
    EXPECT_TRUE(literal->isReady());
    EXPECT_EQ(literal->getType(), 0);
}
