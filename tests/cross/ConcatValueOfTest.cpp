// Concat and ValueOf driven as a host drives them.
#include "support/HostDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::HostDriver;

namespace {

std::wstring feedAll(PluginSDK::Expression& op, const std::vector<const wchar_t*>& children) {
    for (const wchar_t* child : children)
        EXPECT_EQ(HostDriver::feed(op, child), 0);
    EXPECT_FALSE(op.isReady()) << "Concat takes every child";
    std::wstring result = L"stale";
    EXPECT_EQ(HostDriver::scalar(op, result), 0);
    return result;
}

} // namespace

TEST(Concat, JoinsWithSeparatorAndLeavesOutEmptyResults) {
    struct Case {
        const wchar_t* separator; // null: absent
        const wchar_t* ifEmpty;   // null: absent
        std::vector<const wchar_t*> children;
        const wchar_t* result;
    };
    const Case cases[] = {
        {L", ", nullptr, {L"a", L"b", L"c"}, L"a, b, c"},
        {L"-", nullptr, {L"a", L"", L"b"}, L"a-b"},
        {L"-", L"add", {L"a", L"", L"b"}, L"a--b"},
        {L"-", L"Add", {L"a", L"", L"b"}, L"a-b"},
        {L"-", L"add ", {L"a", L"", L"b"}, L"a-b"},
        {L"-", nullptr, {L"", L"b"}, L"-b"},
        {L"-", nullptr, {L"", L"", L""}, L""},
        {L"-", L"add", {L"", L"", L""}, L"--"},
        {L"-", nullptr, {L"a", L""}, L"a"},
        {nullptr, nullptr, {L"x", L"y"}, L"xy"},
        {nullptr, L"add", {L"x", L"", L"y"}, L"xy"},
        {L"", nullptr, {L"x", L"y"}, L"xy"},
        {L"-", nullptr, {}, L""},
        {L"-", nullptr, {L"only"}, L"only"},
    };
    HostDriver host;
    for (const Case& row : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "separator " << (row.separator ? row.separator : L"(none)") << ", ifEmpty "
                     << (row.ifEmpty ? row.ifEmpty : L"(none)") << ", expected '" << row.result
                     << "'");
        auto op = host.create(L"Concat");
        op->setProperty(L"separator", row.separator);
        op->setProperty(L"ifEmpty", row.ifEmpty);
        EXPECT_EQ(feedAll(*op, row.children), row.result);
    }
}

TEST(Concat, EvaluatesAgainAfterDisposeAndAppendsWithout) {
    HostDriver host;
    auto op = host.create(L"Concat", {{L"separator", L"-"}});
    EXPECT_EQ(feedAll(*op, {L"x", L"y"}), L"x-y");
    op->disposeExpression();
    EXPECT_EQ(feedAll(*op, {}), L"");
    EXPECT_EQ(feedAll(*op, {L"x", L"y"}), L"x-y");
    // Without disposeExpression the next evaluation appends to the last one.
    EXPECT_EQ(feedAll(*op, {L"x", L"y"}), L"x-y-x-y");
}

TEST(Concat, ReadsItsPropertiesOncePerEvaluation) {
    HostDriver host;
    auto op = host.create(L"Concat", {{L"separator", L" : a long first separator : "}});
    ASSERT_EQ(HostDriver::feed(*op, L"a"), 0);
    // Replacing the property mid-evaluation releases the old text; the
    // evaluation keeps the separator it started with.
    op->setProperty(L"separator", L" | an even longer second separator text | ");
    op->setProperty(L"ifEmpty", L"add");
    ASSERT_EQ(HostDriver::feed(*op, L""), 0);
    ASSERT_EQ(HostDriver::feed(*op, L"b"), 0);
    std::wstring result;
    EXPECT_EQ(HostDriver::scalar(*op, result), 0);
    EXPECT_EQ(result, L"a : a long first separator : b");

    op->disposeExpression();
    EXPECT_EQ(feedAll(*op, {L"a", L"", L"b"}), L"a | an even longer second separator text |  | "
                                               L"an even longer second separator text | b");
}

TEST(ValueOf, YieldsTheValueProperty) {
    HostDriver host;
    struct Case {
        const wchar_t* value; // null: absent
        TErrorCode rc;
        const wchar_t* result;
    };
    const Case cases[] = {
        {L"abc", 0, L"abc"},
        {L"", 0, L""},
        {L"  spaced  ", 0, L"  spaced  "},
        {nullptr, -11022, L""},
    };
    for (const Case& row : cases) {
        auto op = host.create(L"ValueOf");
        op->setProperty(L"value", row.value);
        std::wstring result = L"stale";
        EXPECT_EQ(HostDriver::scalar(*op, result), row.rc);
        EXPECT_EQ(result, row.result);
        op->disposeExpression();
        EXPECT_EQ(HostDriver::scalar(*op, result), row.rc) << "no state to reset";
    }
}
