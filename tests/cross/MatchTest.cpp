// Match driven as a host does: properties in, "true" or "false" out.
#include "support/HostDriver.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::HostDriver;

TEST(Match, AnswersWhetherTheTextMatchesThePattern) {
    struct Case {
        const wchar_t* input;
        const wchar_t* filter;
        const wchar_t* ignoreCase; // null: not attached
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"report.TXT", L"*.txt", nullptr, L"false"},
        {L"report.TXT", L"*.txt", L"true", L"true"},
        {L"report.TXT", L"*.txt", L"True", L"false"},
        {L"report.TXT", L"*.txt", L"TRUE", L"false"},
        {L"report.TXT", L"*.txt", L"", L"false"},
        {L"", L"*", nullptr, L"true"},
        {L"", L"?", nullptr, L"false"},
        {L"", L"", nullptr, L"true"},
        {L"a", L"", nullptr, L"false"},
        // Each needs a retry from an earlier split of the star.
        {L"aaaaa", L"*aaa", nullptr, L"true"},
        {L"aaab", L"*a?b", nullptr, L"true"},
        {L"ababab", L"*abab", nullptr, L"true"},
        {L"\u263A.LOG", L"?.log", L"true", L"true"},
    };
    HostDriver host;
    for (const Case& c : cases) {
        auto match = host.create(L"Match", {{L"inputString", c.input}, {L"filter", c.filter}});
        if (c.ignoreCase)
            match->setProperty(L"ignoreCase", c.ignoreCase);
        std::wstring result;
        EXPECT_EQ(HostDriver::scalar(*match, result), 0);
        EXPECT_EQ(result, c.expected) << "'" << c.input << "' against '" << c.filter << "'";
    }
}

TEST(Match, IgnoringCaseLeavesTheHostsPropertiesAlone) {
    HostDriver host;
    auto match = host.create(
        L"Match",
        {{L"inputString", L"Report.TXT"}, {L"filter", L"*.Txt"}, {L"ignoreCase", L"true"}});
    std::wstring result;
    ASSERT_EQ(HostDriver::scalar(*match, result), 0);
    EXPECT_EQ(result, L"true");
    EXPECT_STREQ(match->getProperty(L"inputString"), L"Report.TXT");
    EXPECT_STREQ(match->getProperty(L"filter"), L"*.Txt");
}

TEST(Match, MissingTextOrPatternLeavesTheResultUnchanged) {
    HostDriver host;
    testsupport::TraceCapture trace;
    const std::vector<std::vector<testsupport::Property>> cases = {
        {}, {{L"filter", L"*"}}, {{L"inputString", L"x"}}};
    for (const auto& properties : cases) {
        auto match = host.create(L"Match");
        for (const testsupport::Property& property : properties)
            match->setProperty(property.name, property.value);
        PluginSDK::String result(L"keep");
        EXPECT_EQ(static_cast<PluginSDK::ScalarExpression&>(*match).getScalarResult(result),
                  -11038);
        EXPECT_EQ(result, L"keep");
    }
    EXPECT_TRUE(trace.records().empty());
}

TEST(Match, ReadsItsPropertiesAtEveryEvaluation) {
    HostDriver host;
    auto match = host.create(L"Match", {{L"inputString", L"abc"}, {L"filter", L"a*"}});
    EXPECT_EQ(match->getType(), PluginSDK::SCALAR_EXPRESSION);
    EXPECT_FALSE(match->isOperator());
    EXPECT_TRUE(match->isReady());
    std::wstring result;
    ASSERT_EQ(HostDriver::scalar(*match, result), 0);
    EXPECT_EQ(result, L"true");
    match->disposeExpression();
    match->setProperty(L"filter", L"b*");
    ASSERT_EQ(HostDriver::scalar(*match, result), 0);
    EXPECT_EQ(result, L"false");
}
