// StringSlice and Clip side by side on the same texts and indexes, with their
// checks and trace records.
#include "support/HostDriver.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::HostDriver;

namespace {

struct Outcome {
    TErrorCode code;
    std::wstring result;
    std::vector<std::string> messages;
};

Outcome slice(HostDriver& host, const wchar_t* name, const wchar_t* input, const wchar_t* start,
              const wchar_t* end) {
    testsupport::TraceCapture trace;
    auto expression =
        host.create(name, {{L"inputString", input}, {L"startIndex", start}, {L"endIndex", end}});
    Outcome outcome;
    outcome.code = HostDriver::scalar(*expression, outcome.result);
    outcome.messages = trace.messages();
    return outcome;
}

const char kNotNumberStart[] = "Error: startIndex not a number";
const char kNotNumberEnd[] = "Error: endIndex not a number";
const char kNegative[] = "Error: indexes should be >=  than zero";
const char kBeyond[] = "Error: startIndex or endIndex > inputString length";
const char kReversed[] = "Error: startIndex > endIndex";

struct Expected {
    TErrorCode code;
    const wchar_t* result;
    std::vector<std::string> messages;
};

struct Row {
    const wchar_t* input;
    const wchar_t* start;
    const wchar_t* end;
    Expected slice;
    Expected clip;
};

void check(HostDriver& host, const wchar_t* name, const Row& row, const Expected& expected) {
    Outcome outcome = slice(host, name, row.input, row.start, row.end);
    EXPECT_EQ(outcome.code, expected.code)
        << name << " '" << row.input << "' [" << row.start << ", " << row.end << "]";
    EXPECT_EQ(outcome.result, expected.result)
        << name << " '" << row.input << "' [" << row.start << ", " << row.end << "]";
    EXPECT_EQ(outcome.messages, expected.messages)
        << name << " '" << row.input << "' [" << row.start << ", " << row.end << "]";
}

} // namespace

TEST(SliceAndClip, IndexTable) {
    const Row rows[] = {
        {L"abcdef", L"1", L"3", {0, L"bc", {}}, {0, L"bcd", {}}},
        {L"abcdef", L"0", L"0", {0, L"", {}}, {0, L"abcdef", {}}},
        {L"abcdef", L"2", L"0", {0, L"", {}}, {0, L"cdef", {}}},
        {L"abcdef", L"2", L"", {0, L"cdef", {}}, {0, L"cdef", {}}},
        {L"abcdef", L"", L"", {0, L"abcdef", {}}, {0, L"abcdef", {}}},
        {L"abcdef", L"-2", L"", {0, L"ef", {}}, {-11039, L"", {kNegative}}},
        {L"abcdef", L"0", L"-1", {0, L"abcde", {}}, {-11039, L"", {kNegative}}},
        {L"abcdef", L"-100", L"2", {0, L"ab", {}}, {-11039, L"", {kNegative}}},
        {L"abcdef", L"2", L"100", {0, L"cdef", {}}, {-11039, L"", {kBeyond}}},
        {L"abcdef", L"6", L"8", {0, L"", {}}, {-11039, L"", {kBeyond}}},
        {L"abcdef", L"5", L"5", {0, L"", {}}, {0, L"f", {}}},
        {L"abcdef", L"4", L"2", {0, L"", {}}, {-11039, L"", {kReversed}}},
        {L"abcdef", L"0", L"5", {0, L"abcde", {}}, {0, L"abcdef", {}}},
        // Clip now refuses an index that is not a number, as StringSlice does.
        {L"abcdef",
         L"x",
         L"3",
         {-11039, L"abc", {kNotNumberStart}},
         {-11039, L"", {kNotNumberStart}}},
        {L"abcdef",
         L"1",
         L"3y",
         {-11039, L"bcdef", {kNotNumberEnd}},
         {-11039, L"", {kNotNumberEnd}}},
        {L"abcdef",
         L"x",
         L"y",
         {-11039, L"abcdef", {kNotNumberStart, kNotNumberEnd}},
         {-11039, L"", {kNotNumberStart, kNotNumberEnd}}},
        {L"abcdef", L" 1 ", L"\t3", {0, L"bc", {}}, {0, L"bcd", {}}},
        {L"", L"0", L"0", {0, L"", {}}, {-11039, L"", {kBeyond}}},
        {L"", L"", L"", {0, L"", {}}, {-11039, L"", {kBeyond}}},
        // Indexes at the ends of the range of a long.
        {L"abcdef", L"-9223372036854775808", L"", {0, L"abcdef", {}}, {-11039, L"", {kNegative}}},
        {L"abcdef",
         L"-9223372036854775808",
         L"-9223372036854775808",
         {0, L"", {}},
         {-11039, L"", {kNegative}}},
        {L"abcdef", L"9223372036854775807", L"", {0, L"", {}}, {-11039, L"", {kBeyond}}},
        {L"abcdef", L"1", L"9223372036854775807", {0, L"bcdef", {}}, {-11039, L"", {kBeyond}}},
        {L"abcdef",
         L"9223372036854775807",
         L"-9223372036854775808",
         {0, L"", {}},
         {-11039, L"", {kNegative}}},
        {L"abcdef",
         L"99999999999999999999",
         L"2",
         {-11039, L"ab", {kNotNumberStart}},
         {-11039, L"", {kNotNumberStart}}},
    };
    HostDriver host;
    for (const Row& row : rows) {
        check(host, L"StringSlice", row, row.slice);
        check(host, L"Clip", row, row.clip);
    }
}

TEST(SliceAndClip, MissingPropertiesAreTracedAndTheLastOneWins) {
    HostDriver host;
    for (const wchar_t* name : {L"StringSlice", L"Clip"}) {
        const std::string className = name == std::wstring(L"Clip") ? "Clip" : "StringSlice";
        testsupport::TraceCapture trace;
        std::wstring result;

        auto nothing = host.create(name);
        EXPECT_EQ(HostDriver::scalar(*nothing, result), -11051);
        EXPECT_EQ(trace.messages(),
                  (std::vector<std::string>{"Unspecified inputString!", "Unspecified startIndex!",
                                            "Unspecified endIndex!"}));
        for (const TraceRecord& record : trace.records()) {
            EXPECT_EQ(record.level, 1);
            EXPECT_EQ(record.file, "src/plugins/CorePlugin/cross/" + className);
            EXPECT_EQ(record.function, className + "::validateProperties()");
        }

        trace.clear();
        auto noInput = host.create(name, {{L"startIndex", L"0"}, {L"endIndex", L"1"}});
        EXPECT_EQ(HostDriver::scalar(*noInput, result), -11038);
        EXPECT_EQ(trace.messages(), std::vector<std::string>{"Unspecified inputString!"});

        trace.clear();
        auto noEnd = host.create(name, {{L"inputString", L"abc"}, {L"startIndex", L"0"}});
        EXPECT_EQ(HostDriver::scalar(*noEnd, result), -11051);
        EXPECT_EQ(trace.messages(), std::vector<std::string>{"Unspecified endIndex!"});
    }
}

TEST(SliceAndClip, IndexErrorsAreTracedFromTheEvaluation) {
    HostDriver host;
    for (const wchar_t* name : {L"StringSlice", L"Clip"}) {
        const std::string className = name == std::wstring(L"Clip") ? "Clip" : "StringSlice";
        testsupport::TraceCapture trace;
        auto expression = host.create(
            name, {{L"inputString", L"abc"}, {L"startIndex", L"x"}, {L"endIndex", L"1"}});
        std::wstring result;
        EXPECT_EQ(HostDriver::scalar(*expression, result), -11039);
        ASSERT_EQ(trace.records().size(), 1u);
        const TraceRecord& record = trace.records()[0];
        EXPECT_EQ(record.level, 1);
        EXPECT_EQ(record.file, "src/plugins/CorePlugin/cross/" + className);
        EXPECT_EQ(record.function, className + "::getScalarResult(PluginSDK::String & result)");
    }
}

TEST(SliceAndClip, FailureClearsTheResult) {
    HostDriver host;
    for (const wchar_t* name : {L"StringSlice", L"Clip"}) {
        auto expression = host.create(name, {{L"startIndex", L"0"}, {L"endIndex", L"1"}});
        PluginSDK::String result(L"keep");
        EXPECT_EQ(static_cast<PluginSDK::ScalarExpression&>(*expression).getScalarResult(result),
                  -11038);
        EXPECT_EQ(result, L"");
    }
}
