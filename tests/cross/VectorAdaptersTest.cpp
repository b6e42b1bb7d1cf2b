// VectorIterator, VectorToScalar and ScalarToVector driven as a host drives
// them, and lists carried from one to the other through packing.
#include "support/HostDriver.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using testsupport::HostDriver;
using List = std::vector<std::wstring>;

namespace {

List resultOf(PluginSDK::Expression& expression) {
    List result;
    EXPECT_EQ(HostDriver::vector(expression, result), 0);
    return result;
}

std::wstring scalarOf(PluginSDK::Expression& expression) {
    std::wstring result;
    EXPECT_EQ(HostDriver::scalar(expression, result), 0);
    return result;
}

// A random list of up to eight elements of up to six characters, drawn mostly
// from ';' and '\' so that runs of them and elements ending in them occur.
List randomList(std::mt19937& random) {
    static const wchar_t kAlphabet[] = {L';', L'\\', L';',      L'\\',
                                        L'a', L' ',  L'\u00e9', L'\U0001F600'};
    std::uniform_int_distribution<int> pick(0, sizeof kAlphabet / sizeof kAlphabet[0] - 1);
    List list(std::uniform_int_distribution<std::size_t>(0, 8)(random));
    for (std::wstring& element : list)
        for (int n = std::uniform_int_distribution<int>(0, 6)(random); n > 0; --n)
            element += kAlphabet[pick(random)];
    return list;
}

} // namespace

TEST(VectorAdapters, KindsAndRefusalOfFailedChildren) {
    struct Case {
        const wchar_t* name;
        int type;
    };
    const Case cases[] = {{L"Vector", 1},         {L"Sort", 1},           {L"VectorAt", 0},
                          {L"VectorIterator", 1}, {L"VectorToScalar", 0}, {L"ScalarToVector", 1}};
    HostDriver host;
    for (const Case& c : cases) {
        auto expression = host.create(c.name, {{L"index", L"1"}});
        ASSERT_NE(expression, nullptr);
        EXPECT_EQ(expression->getType(), c.type) << "row " << (&c - cases);
        EXPECT_TRUE(expression->isOperator());
        EXPECT_FALSE(HostDriver::continueOnError(*expression));
        EXPECT_EQ(HostDriver::feedError(*expression, -11025), -102) << "row " << (&c - cases);
    }
}

TEST(VectorIterator, NumbersEveryValueAcrossChildrenAndStartsAgainAfterDispose) {
    HostDriver host;
    auto iterator = host.create(L"VectorIterator");
    EXPECT_EQ(resultOf(*iterator), List());
    EXPECT_EQ(HostDriver::feed(*iterator, {L"x", L"", L"x"}), 0);
    EXPECT_EQ(HostDriver::feed(*iterator, {}), 0);
    EXPECT_EQ(HostDriver::feed(*iterator, L"last"), 0);
    EXPECT_FALSE(iterator->isReady());
    EXPECT_EQ(resultOf(*iterator), (List{L"1", L"2", L"3", L"4"}));

    iterator->disposeExpression();
    EXPECT_EQ(resultOf(*iterator), List());
    EXPECT_EQ(HostDriver::feed(*iterator, L"again"), 0);
    EXPECT_EQ(HostDriver::feed(*iterator, L"again"), 0);
    EXPECT_EQ(resultOf(*iterator), (List{L"1", L"2"}));

    for (int i = 0; i < 9; ++i)
        HostDriver::feed(*iterator, L"more");
    EXPECT_EQ(resultOf(*iterator).back(), L"11");
}

TEST(VectorToScalar, PacksEveryValueInArrivalOrder) {
    HostDriver host;
    auto packer = host.create(L"VectorToScalar");
    EXPECT_EQ(scalarOf(*packer), L"");
    EXPECT_EQ(HostDriver::feed(*packer, {L"a", L"b;c"}), 0);
    EXPECT_EQ(HostDriver::feed(*packer, L""), 0);
    EXPECT_EQ(HostDriver::feed(*packer, L"C:\\tmp"), 0);
    EXPECT_FALSE(packer->isReady());
    EXPECT_EQ(scalarOf(*packer), L"a;b\\;c;;C:\\\\tmp;");

    packer->disposeExpression();
    EXPECT_EQ(scalarOf(*packer), L"");
    EXPECT_EQ(HostDriver::feed(*packer, L""), 0);
    EXPECT_EQ(scalarOf(*packer), L";"); // one empty element is not the empty list
}

TEST(ScalarToVector, UnpacksTheOneValueItWasFed) {
    struct Case {
        const wchar_t* value; // null: nothing fed
        List expected;
    };
    const Case cases[] = {
        {nullptr, {}},
        {L"", {}},
        {L"hello world", {L"hello world"}}, // what a ValueOf written by a person gives
        {L"a;b", {L"a", L"b"}},
        {L"a;b;", {L"a", L"b"}},
        {L";", {L""}},
        {L"C:\\dir\\", {L"C:\\dir\\"}},
        {L"x\\;y;\\\\;", {L"x;y", L"\\"}},
    };
    HostDriver host;
    for (const Case& c : cases) {
        auto unpacker = host.create(L"ScalarToVector");
        EXPECT_FALSE(unpacker->isReady());
        if (c.value) {
            EXPECT_EQ(HostDriver::feed(*unpacker, c.value), 0);
            EXPECT_TRUE(unpacker->isReady());
        }
        PluginSDK::StringVector result;
        result.addString(L"caller's");
        ASSERT_EQ(static_cast<PluginSDK::VectorExpression&>(*unpacker).getVectorResult(result), 0);
        List got;
        for (const PluginSDK::String& item : result.items())
            got.push_back(item.str());
        EXPECT_EQ(got, c.expected) << "row " << (&c - cases);
    }
}

TEST(ScalarToVector, RefusesASecondValueAndListsNotOfOneElement) {
    HostDriver host;
    auto unpacker = host.create(L"ScalarToVector");
    EXPECT_EQ(HostDriver::feed(*unpacker, {L"a", L"b"}), -10004);
    EXPECT_EQ(HostDriver::feed(*unpacker, {}), -10004);
    EXPECT_FALSE(unpacker->isReady());
    EXPECT_EQ(resultOf(*unpacker), List());

    EXPECT_EQ(HostDriver::feed(*unpacker, {L"p;q"}), 0); // one element: taken as a value
    EXPECT_TRUE(unpacker->isReady());
    EXPECT_EQ(HostDriver::feed(*unpacker, L"other"), -10004);
    EXPECT_EQ(HostDriver::feed(*unpacker, {L"other"}), -10004);
    EXPECT_EQ(HostDriver::feed(*unpacker, {L"x", L"y"}), -10004);
    EXPECT_EQ(resultOf(*unpacker), (List{L"p", L"q"}));

    unpacker->disposeExpression();
    EXPECT_FALSE(unpacker->isReady());
    EXPECT_EQ(resultOf(*unpacker), List());
    EXPECT_EQ(HostDriver::feed(*unpacker, L"again"), 0);
    EXPECT_EQ(resultOf(*unpacker), List{L"again"});
}

TEST(VectorAdapters, GeneratedListsSurviveVectorToScalarThenScalarToVector) {
    HostDriver host;
    auto packer = host.create(L"VectorToScalar");
    auto unpacker = host.create(L"ScalarToVector");
    std::mt19937 random(1234);
    for (int round = 0; round < 1000; ++round) {
        List list = randomList(random);
        // Split the list between a vector child and scalar children.
        PluginSDK::StringVector head;
        std::size_t split = list.size() / 2;
        for (std::size_t i = 0; i < split; ++i)
            head.addString(list[i].c_str());
        ASSERT_EQ(static_cast<PluginSDK::ScalarOperator&>(*packer).update(head), 0);
        for (std::size_t i = split; i < list.size(); ++i)
            ASSERT_EQ(HostDriver::feed(*packer, list[i].c_str()), 0);

        std::wstring packed = scalarOf(*packer);
        ASSERT_EQ(HostDriver::feed(*unpacker, packed.c_str()), 0);
        ASSERT_EQ(resultOf(*unpacker), list) << "round " << round;
        packer->disposeExpression();
        unpacker->disposeExpression();
    }
}
