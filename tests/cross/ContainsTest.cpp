// Contains: a fragment at the start, at the end or anywhere in a text.
#include "support/HostDriver.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::HostDriver;

TEST(Contains, AnswersForEachPosition) {
    struct Case {
        const wchar_t* input;
        const wchar_t* searched;
        const wchar_t* position;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"config.ini", L"config", L"start", L"true"},
        {L"config.ini", L"config", L"end", L"false"},
        {L"config.ini", L"config", L"anywhere", L"true"},
        {L"config.ini", L".ini", L"end", L"true"},
        {L"config.ini", L".ini", L"start", L"false"},
        {L"config.ini", L"fig.i", L"", L"true"},
        {L"config.ini", L"fig.i", L"start", L"false"},
        // "End" is not "end": the fragment may be anywhere.
        {L"config.ini", L"config", L"End", L"true"},
        {L"config.ini", L"CONFIG", L"start", L"false"},
        {L"config.ini", L"", L"any", L"true"},
        {L"config.ini", L"", L"start", L"true"},
        {L"config.ini", L"", L"end", L"true"},
        {L"ini", L"config.ini", L"end", L"false"},
        {L"", L"a", L"any", L"false"},
        {L"", L"", L"any", L"true"},
        {L"\u263Ax", L"\u263A", L"start", L"true"},
    };
    HostDriver host;
    for (const Case& c : cases) {
        auto expression = host.create(L"Contains", {{L"inputString", c.input},
                                                    {L"searchedString", c.searched},
                                                    {L"position", c.position}});
        std::wstring result;
        EXPECT_EQ(HostDriver::scalar(*expression, result), 0);
        EXPECT_EQ(result, c.expected)
            << "'" << c.searched << "' in '" << c.input << "' at " << c.position;
    }
}

TEST(Contains, MissingPropertiesAreTracedAndTheLastOneWins) {
    HostDriver host;
    testsupport::TraceCapture trace;
    auto noInputNoPosition = host.create(L"Contains", {{L"searchedString", L"a"}});
    PluginSDK::String result(L"keep");
    auto& scalar = static_cast<PluginSDK::ScalarExpression&>(*noInputNoPosition);
    EXPECT_EQ(scalar.getScalarResult(result), -11052);
    EXPECT_EQ(result, L"");
    EXPECT_EQ(trace.messages(),
              (std::vector<std::string>{"Unspecified input string!", "Unspecified position!"}));
    for (const TraceRecord& record : trace.records()) {
        EXPECT_EQ(record.level, 1);
        EXPECT_EQ(record.file, "src/plugins/CorePlugin/cross/Contains");
        EXPECT_EQ(record.function, "Contains::validateProperties()");
    }

    trace.clear();
    auto noSearched = host.create(L"Contains", {{L"inputString", L"a"}, {L"position", L"end"}});
    std::wstring text;
    EXPECT_EQ(HostDriver::scalar(*noSearched, text), -11038);
    EXPECT_EQ(trace.messages(), std::vector<std::string>{"Unspecified searched string!"});
}
