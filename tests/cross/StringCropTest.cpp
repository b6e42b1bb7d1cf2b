// StringCrop in its three search modes, its checks and its trace records.
#include "support/HostDriver.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

#include <string>

using testsupport::HostDriver;

namespace {

constexpr char kSource[] = "src/plugins/CorePlugin/cross/StringCrop";

// Runs one crop; a null seekFrom is not attached.
TErrorCode crop(HostDriver& host, const wchar_t* input, const wchar_t* start, const wchar_t* end,
                const wchar_t* seekFrom, std::wstring& result) {
    auto expression = host.create(
        L"StringCrop", {{L"inputString", input}, {L"startString", start}, {L"endString", end}});
    if (seekFrom)
        expression->setProperty(L"seekFrom", seekFrom);
    return HostDriver::scalar(*expression, result);
}

} // namespace

TEST(StringCrop, CropsInEveryMode) {
    struct Case {
        const wchar_t* input;
        const wchar_t* start;
        const wchar_t* end;
        const wchar_t* byDefault;
        const wchar_t* left;
        const wchar_t* right;
    };
    const Case cases[] = {
        {L"key=[value];", L"[", L"]", L"value", L"value", L"value"},
        {L"a(b)c(d)e", L"(", L")", L"b)c(d", L"b", L"d"},
        // Right mode: no "[" before the last "]", so the crop starts at the beginning.
        {L"x]a[b", L"[", L"]", L"", L"b", L"x"},
        {L"abc", L"x", L"y", L"abc", L"abc", L"abc"},
        {L"abc", L"", L"", L"abc", L"abc", L"abc"},
        {L"abc[", L"[", L"]", L"", L"", L""},
        {L"a(b", L"(", L")", L"b", L"b", L"b"},
        {L"ab)", L"(", L")", L"ab", L"ab", L"ab"},
        // The text before the end is as long as, or shorter than, the delimiter.
        {L"a)", L"(", L")", L"a", L"a", L"a"},
        {L"a)", L"((", L")", L"a", L"a", L"a"},
        {L")", L"(", L")", L"", L"", L""},
        {L"()", L"(", L")", L"", L"", L""},
        {L"aXbXc", L"X", L"X", L"b", L"b", L"b"},
        // A start delimiter that overlaps the end one does not lie before it.
        {L"a[]b", L"[]", L"]", L"", L"b", L"a["},
        {L"<<a>>", L"<<", L">>", L"a", L"a", L"a"},
        {L"", L"(", L")", L"", L"", L""},
    };
    HostDriver host;
    for (const Case& c : cases) {
        const wchar_t* modes[] = {nullptr, L"", L"left", L"right"};
        const wchar_t* expected[] = {c.byDefault, c.byDefault, c.left, c.right};
        for (int m = 0; m < 4; ++m) {
            std::wstring result;
            EXPECT_EQ(crop(host, c.input, c.start, c.end, modes[m], result), 0);
            EXPECT_EQ(result, expected[m])
                << "'" << c.input << "' with '" << c.start << "' and '" << c.end << "', seekFrom "
                << (modes[m] ? modes[m] : L"absent");
        }
    }
}

TEST(StringCrop, MissingPropertiesAreTracedAndTheLastOneWins) {
    HostDriver host;
    testsupport::TraceCapture trace;
    std::wstring result;

    auto noInput = host.create(L"StringCrop", {{L"startString", L"["}, {L"endString", L"]"}});
    EXPECT_EQ(HostDriver::scalar(*noInput, result), -11038);
    ASSERT_EQ(trace.messages(), std::vector<std::string>{"Unspecified inputString!"});
    const TraceRecord& record = trace.records()[0];
    EXPECT_EQ(record.level, 1);
    EXPECT_EQ(record.component, 5);
    EXPECT_EQ(record.file, kSource);
    EXPECT_EQ(record.function, "StringCrop::validateProperties()");

    trace.clear();
    auto noInputNoStart = host.create(L"StringCrop", {{L"endString", L"]"}});
    EXPECT_EQ(HostDriver::scalar(*noInputNoStart, result), -11051);
    EXPECT_EQ(trace.messages(),
              (std::vector<std::string>{"Unspecified inputString!", "Unspecified startString!"}));

    trace.clear();
    auto nothing = host.create(L"StringCrop");
    EXPECT_EQ(HostDriver::scalar(*nothing, result), -11051);
    EXPECT_EQ(trace.messages(),
              (std::vector<std::string>{"Unspecified inputString!", "Unspecified startString!",
                                        "Unspecified endString!"}));
}

TEST(StringCrop, SeekFromIsCheckedOnlyWhenEverythingElseIsThere) {
    HostDriver host;
    testsupport::TraceCapture trace;
    std::wstring result;
    EXPECT_EQ(crop(host, L"a(b)", L"(", L")", L"Left", result), -11039);
    EXPECT_EQ(crop(host, L"a(b)", L"(", L")", L"both", result), -11039);
    EXPECT_TRUE(trace.records().empty());

    auto noInput = host.create(L"StringCrop",
                               {{L"startString", L"("}, {L"endString", L")"}, {L"seekFrom", L"x"}});
    EXPECT_EQ(HostDriver::scalar(*noInput, result), -11038);
}

TEST(StringCrop, FailureClearsTheResult) {
    HostDriver host;
    auto expression = host.create(L"StringCrop", {{L"inputString", L"a(b)"},
                                                  {L"startString", L"("},
                                                  {L"endString", L")"},
                                                  {L"seekFrom", L"up"}});
    PluginSDK::String result(L"keep");
    EXPECT_EQ(static_cast<PluginSDK::ScalarExpression&>(*expression).getScalarResult(result),
              -11039);
    EXPECT_EQ(result, L"");
}
