// VectorAt driven as a host drives it: the value at a position counted from 1,
// readiness, ignored values, and what it answers without the wanted value.
#include "support/HostDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::HostDriver;

namespace {

// The result of VectorAt read into a string that already holds "untouched".
TErrorCode readInto(PluginSDK::Expression& vectorAt, std::wstring& text) {
    PluginSDK::String result(L"untouched");
    TErrorCode code = static_cast<PluginSDK::ScalarExpression&>(vectorAt).getScalarResult(result);
    text = result.str();
    return code;
}

} // namespace

TEST(VectorAt, AnswersThePositionCountedFromOne) {
    struct Case {
        const wchar_t* index;
        std::vector<std::wstring> scalars; // fed one by one after the vector child
        std::initializer_list<const wchar_t*> vectorChild;
        TErrorCode code;
        std::wstring value; // "untouched" when the caller's string is left alone
        bool ready;
    };
    const Case cases[] = {
        {L"2", {}, {L"one", L"two", L"three"}, 0, L"two", true},
        {L"1", {L"first", L"second"}, {}, 0, L"first", true},
        {L"3", {L"s", L""}, {L"v"}, 0, L"", true},
        {L"4", {L"c"}, {L"a", L"b"}, -11035, L"untouched", false},
        {L"4", {L"a", L"b", L"c", L"d", L"e"}, {}, 0, L"d", true},
        {L"0", {L"a", L"b"}, {L"c"}, -11035, L"untouched", false},
        {L"-1", {L"a"}, {}, -11035, L"untouched", false},
        {L" 2", {L"a", L"b"}, {}, 0, L"b", true},
    };
    HostDriver host;
    for (const Case& c : cases) {
        auto vectorAt = host.create(L"VectorAt", {{L"index", c.index}});
        ASSERT_EQ(HostDriver::feed(*vectorAt, c.vectorChild), 0);
        for (const std::wstring& value : c.scalars)
            ASSERT_EQ(HostDriver::feed(*vectorAt, value.c_str()), 0);
        std::wstring text;
        EXPECT_EQ(readInto(*vectorAt, text), c.code) << "row " << (&c - cases);
        EXPECT_EQ(text, c.value) << "row " << (&c - cases);
        EXPECT_EQ(vectorAt->isReady(), c.ready) << "row " << (&c - cases);
    }
}

TEST(VectorAt, IsReadyOnceTheWantedValueCameAndIgnoresTheRest) {
    HostDriver host;
    auto vectorAt = host.create(L"VectorAt", {{L"index", L"2"}});
    EXPECT_FALSE(vectorAt->isReady());
    EXPECT_EQ(HostDriver::feed(*vectorAt, L"a"), 0);
    EXPECT_FALSE(vectorAt->isReady());
    EXPECT_EQ(HostDriver::feed(*vectorAt, {L"b", L"c"}), 0);
    EXPECT_TRUE(vectorAt->isReady());
    EXPECT_EQ(HostDriver::feed(*vectorAt, L"d"), 0);
    EXPECT_EQ(HostDriver::feed(*vectorAt, {L"e", L"f"}), 0);
    // Even a broken "index" no longer matters once read for this evaluation.
    vectorAt->setProperty(L"index", L"x");
    EXPECT_EQ(HostDriver::feed(*vectorAt, L"g"), 0);
    std::wstring text;
    EXPECT_EQ(readInto(*vectorAt, text), 0);
    EXPECT_EQ(text, L"b");
    EXPECT_TRUE(vectorAt->isReady());
}

TEST(VectorAt, RefusesValuesWhileIndexIsMissingOrNotANumber) {
    HostDriver host;
    auto missing = host.create(L"VectorAt");
    EXPECT_EQ(HostDriver::feed(*missing, L"a"), -11034);
    EXPECT_EQ(HostDriver::feed(*missing, {L"a", L"b"}), -11034);

    auto notANumber = host.create(L"VectorAt", {{L"index", L"two"}});
    EXPECT_EQ(HostDriver::feed(*notANumber, L"a"), -11019);
    EXPECT_EQ(HostDriver::feed(*notANumber, L"b"), -11019);
    EXPECT_EQ(HostDriver::feed(*notANumber, {}), 0); // nothing offered, nothing read

    // Refused values were not counted: once "index" is readable, counting
    // starts at the next value.
    notANumber->setProperty(L"index", L"1");
    EXPECT_EQ(HostDriver::feed(*notANumber, L"c"), 0);
    std::wstring text;
    EXPECT_EQ(readInto(*notANumber, text), 0);
    EXPECT_EQ(text, L"c");

    auto beyondRange = host.create(L"VectorAt", {{L"index", L"18446744073709551616"}});
    EXPECT_EQ(HostDriver::feed(*beyondRange, L"a"), -11019);
}

TEST(VectorAt, WithoutAnyValueChecksIndexAndNeverReportsSuccess) {
    struct Case {
        const wchar_t* index; // null: not attached
        TErrorCode code;
    };
    const Case cases[] = {
        {nullptr, -11034}, {L"", -11019},  {L"x", -11019},
        {L"3", -11035},    {L"1", -11035}, {L"0", -11035},
    };
    HostDriver host;
    for (const Case& c : cases) {
        auto vectorAt = host.create(L"VectorAt");
        vectorAt->setProperty(L"index", c.index);
        std::wstring text;
        EXPECT_EQ(readInto(*vectorAt, text), c.code) << "row " << (&c - cases);
        EXPECT_EQ(text, L"untouched") << "row " << (&c - cases);
        EXPECT_FALSE(vectorAt->isReady());
        // Only empty vector children: still no value.
        EXPECT_EQ(HostDriver::feed(*vectorAt, {}), 0);
        EXPECT_EQ(readInto(*vectorAt, text), c.code) << "row " << (&c - cases);
    }
}

TEST(VectorAt, ReadsIndexAgainAfterDispose) {
    HostDriver host;
    auto vectorAt = host.create(L"VectorAt", {{L"index", L"1"}});
    EXPECT_EQ(HostDriver::feed(*vectorAt, L"a"), 0);
    EXPECT_TRUE(vectorAt->isReady());

    vectorAt->disposeExpression();
    EXPECT_FALSE(vectorAt->isReady());
    std::wstring text;
    EXPECT_EQ(readInto(*vectorAt, text), -11035);
    vectorAt->setProperty(L"index", L"2");
    EXPECT_EQ(HostDriver::feed(*vectorAt, {L"x", L"y"}), 0);
    EXPECT_EQ(readInto(*vectorAt, text), 0);
    EXPECT_EQ(text, L"y");

    vectorAt->disposeExpression();
    vectorAt->setProperty(L"index", nullptr);
    EXPECT_EQ(HostDriver::feed(*vectorAt, L"x"), -11034);
    EXPECT_EQ(readInto(*vectorAt, text), -11034);
}
