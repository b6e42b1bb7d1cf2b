// Switch: pairs of condition and value, failed children included.
#include "support/HostDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::HostDriver;

namespace {

// A child: its text, or (text null) the code it failed with.
struct Child {
    const wchar_t* text;
    long error;
    TErrorCode rc; // what the switch answers to it
};

Child ok(const wchar_t* text, TErrorCode rc = 0) {
    return Child{text, 0, rc};
}
Child failed(long code, TErrorCode rc = 0) {
    return Child{nullptr, code, rc};
}

struct Case {
    const char* name;
    const wchar_t* defaultValue; // null: property absent
    std::vector<Child> children;
    bool ready;
    const wchar_t* result;
};

TErrorCode feedChild(PluginSDK::Expression& op, const Child& child) {
    return child.text ? HostDriver::feed(op, child.text) : HostDriver::feedError(op, child.error);
}

} // namespace

TEST(Switch, TransitionTable) {
    const Case cases[] = {
        {"first true pair wins",
         nullptr,
         {ok(L"false"), ok(L"a"), ok(L"true"), ok(L"b"), ok(L"true"), ok(L"c")},
         true,
         L"b"},
        {"no true condition gives default", L"d", {ok(L"false"), ok(L"a")}, false, L"d"},
        {"no true condition, no default", nullptr, {ok(L"false"), ok(L"a")}, false, L""},
        {"no children", L"d", {}, false, L"d"},
        {"condition without its value", L"d", {ok(L"false"), ok(L"a"), ok(L"true")}, false, L"d"},
        {"a skipped value is not examined",
         nullptr,
         {ok(L"false"), ok(L"maybe"), ok(L"true"), ok(L"x")},
         true,
         L"x"},
        {"refused condition does not move the state",
         nullptr,
         {ok(L"maybe", -10006), ok(L"True", -10006), ok(L"true"), ok(L"x")},
         true,
         L"x"},
        {"failed condition counts as false",
         nullptr,
         {failed(-11025), ok(L"v"), ok(L"true"), ok(L"w")},
         true,
         L"w"},
        {"failed value after false is skipped",
         L"d",
         {ok(L"false"), failed(-11038), ok(L"true"), ok(L"w")},
         true,
         L"w"},
        {"failed chosen value fails the switch",
         L"d",
         {ok(L"true"), failed(-11038, -11038), ok(L"true"), ok(L"z"), failed(-1)},
         true,
         L""},
        {"children after the selection are ignored",
         nullptr,
         {ok(L"true"), ok(L""), ok(L"anything"), failed(-5)},
         true,
         L""},
        {"empty selected value", L"d", {ok(L"true"), ok(L"")}, true, L""},
        {"a truth value may be the selected value",
         nullptr,
         {ok(L"true"), ok(L"false")},
         true,
         L"false"},
    };
    HostDriver host;
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        auto op = host.create(L"Switch");
        if (row.defaultValue)
            op->setProperty(L"default", row.defaultValue);
        for (std::size_t i = 0; i < row.children.size(); ++i)
            EXPECT_EQ(feedChild(*op, row.children[i]), row.children[i].rc) << "child " << i;
        EXPECT_EQ(op->isReady(), row.ready);
        std::wstring result = L"stale";
        EXPECT_EQ(HostDriver::scalar(*op, result), 0);
        EXPECT_EQ(result, row.result);
    }
}

TEST(Switch, ReadyExactlyOnceAValueIsSelected) {
    HostDriver host;
    auto op = host.create(L"Switch");
    const wchar_t* children[] = {L"false", L"a", L"true"};
    for (const wchar_t* child : children) {
        ASSERT_EQ(HostDriver::feed(*op, child), 0);
        EXPECT_FALSE(op->isReady()) << child;
    }
    ASSERT_EQ(HostDriver::feed(*op, L"b"), 0);
    EXPECT_TRUE(op->isReady());
}

TEST(Switch, DisposeStartsAgainFromTheFirstCondition) {
    HostDriver host;
    auto op = host.create(L"Switch", {{L"default", L"d"}});
    ASSERT_EQ(HostDriver::feed(*op, L"true"), 0);
    ASSERT_EQ(HostDriver::feed(*op, L"picked"), 0);
    op->disposeExpression();
    EXPECT_FALSE(op->isReady());
    std::wstring result;
    EXPECT_EQ(HostDriver::scalar(*op, result), 0);
    EXPECT_EQ(result, L"d");
    // The state is back to "expecting condition": a non-truth text is refused.
    EXPECT_EQ(HostDriver::feed(*op, L"picked"), -10006);
    ASSERT_EQ(HostDriver::feed(*op, L"true"), 0);
    ASSERT_EQ(HostDriver::feed(*op, L"again"), 0);
    EXPECT_EQ(HostDriver::scalar(*op, result), 0);
    EXPECT_EQ(result, L"again");
}

TEST(Switch, DefaultIsReadWhenTheResultIsAsked) {
    HostDriver host;
    auto op = host.create(L"Switch", {{L"default", L"first"}});
    ASSERT_EQ(HostDriver::feed(*op, L"false"), 0);
    op->setProperty(L"default", L"second");
    std::wstring result;
    EXPECT_EQ(HostDriver::scalar(*op, result), 0);
    EXPECT_EQ(result, L"second");
}
