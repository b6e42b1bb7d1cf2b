// Substring: the lines holding a fragment, appended to the host's list.
#include "cross/Substring.h"
#include "support/HostDriver.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::HostDriver;
using Lines = std::vector<std::wstring>;

namespace {

// The list after one evaluation that starts from `list`.
Lines linesFound(HostDriver& host, const wchar_t* input, const wchar_t* searched, Lines list = {},
                 TErrorCode* code = nullptr) {
    auto expression =
        host.create(L"Substring", {{L"inputString", input}, {L"searchedString", searched}});
    PluginSDK::StringVector result;
    for (const std::wstring& line : list)
        result.addString(line.c_str());
    TErrorCode rc = static_cast<PluginSDK::VectorExpression&>(*expression).getVectorResult(result);
    if (code)
        *code = rc;
    Lines out;
    for (const PluginSDK::String& item : result.items())
        out.push_back(item.str());
    return out;
}

} // namespace

TEST(Substring, ListsTheLinesThatHoldTheFragment) {
    HostDriver host;
    TErrorCode code = -1;
    EXPECT_EQ(linesFound(host, L"alpha\nbeta\nalphabet", L"alpha", {}, &code),
              (Lines{L"alpha", L"alphabet"}));
    EXPECT_EQ(code, 0);
    // An empty fragment is in every line; empty lines never appear.
    EXPECT_EQ(linesFound(host, L"a\n\nab\n", L""), (Lines{L"a", L"ab"}));
    // Exact, case-sensitive.
    EXPECT_EQ(linesFound(host, L"alpha\nbeta\nalphabet", L"ALPHA", {}, &code), Lines{});
    EXPECT_EQ(code, 0);
    EXPECT_EQ(linesFound(host, L"", L""), Lines{});
    EXPECT_EQ(linesFound(host, L"\n\n\n", L""), Lines{});
}

TEST(Substring, KeepsCarriageReturnsAndOtherCharacters) {
    HostDriver host;
    EXPECT_EQ(linesFound(host, L"one\r\ntwo\r\nthree", L"o"), (Lines{L"one\r", L"two\r"}));
    EXPECT_EQ(linesFound(host, L" \u263A x\n y", L"\u263A"), Lines{L" \u263A x"});
    // A fragment that spans a line break is in no line.
    EXPECT_EQ(linesFound(host, L"ab\ncd", L"b\nc"), Lines{});
}

TEST(Substring, AppendsToWhatTheListAlreadyHolds) {
    HostDriver host;
    EXPECT_EQ(linesFound(host, L"alpha\nbeta", L"a", {L"first", L"second"}),
              (Lines{L"first", L"second", L"alpha", L"beta"}));
}

TEST(Substring, MissingPropertiesLeaveTheListAlone) {
    HostDriver host;
    testsupport::TraceCapture trace;
    auto noInput = host.create(L"Substring", {{L"searchedString", L"a"}});
    PluginSDK::StringVector list;
    list.addString(L"kept");
    auto& vectorExpression = static_cast<PluginSDK::VectorExpression&>(*noInput);
    EXPECT_EQ(vectorExpression.getVectorResult(list), -11038);
    EXPECT_EQ(list.size(), 1);
    EXPECT_EQ(trace.messages(),
              (std::vector<std::string>{"unspecified inputString", "Properties are incorrect"}));
    ASSERT_EQ(trace.records().size(), 2u);
    EXPECT_EQ(trace.records()[0].function, "");
    EXPECT_EQ(trace.records()[1].function, "Substring::getVectorResult()");
    for (const TraceRecord& record : trace.records()) {
        EXPECT_EQ(record.level, 1);
        EXPECT_EQ(record.file, "src/plugins/CorePlugin/cross/Substring");
    }

    trace.clear();
    auto noSearched = host.create(L"Substring", {{L"inputString", L"a"}});
    EXPECT_EQ(static_cast<PluginSDK::VectorExpression&>(*noSearched).getVectorResult(list), -11038);
    EXPECT_EQ(trace.messages(),
              (std::vector<std::string>{"unspecified searchedString", "Properties are incorrect"}));

    trace.clear();
    auto nothing = host.create(L"Substring");
    EXPECT_EQ(static_cast<PluginSDK::VectorExpression&>(*nothing).getVectorResult(list), -11038);
    EXPECT_EQ(trace.messages(),
              (std::vector<std::string>{"unspecified inputString", "Properties are incorrect"}));
    EXPECT_EQ(list.size(), 1);
}

TEST(Substring, IsAVectorOperandWithAnOptionalPropertyReader) {
    HostDriver host;
    auto expression = host.create(L"Substring", {{L"inputString", L"text"}});
    EXPECT_EQ(expression->getType(), PluginSDK::VECTOR_EXPRESSION);
    EXPECT_FALSE(expression->isOperator());
    EXPECT_TRUE(expression->isReady());
    auto& substring = static_cast<CorePlugin::Substring&>(*expression);
    EXPECT_STREQ(substring.getOptionalProperty(L"inputString", L"fallback"), L"text");
    EXPECT_STREQ(substring.getOptionalProperty(L"searchedString", L"fallback"), L"fallback");
    EXPECT_EQ(substring.getOptionalProperty(L"searchedString", nullptr), nullptr);
}
