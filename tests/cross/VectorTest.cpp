// Vector and Sort driven as a host drives them: filtering, order of values,
// sorting at every read, and evaluation after evaluation.
#include "support/HostDriver.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

using testsupport::HostDriver;
using List = std::vector<std::wstring>;

namespace {

List resultOf(PluginSDK::Expression& expression, TErrorCode expectedCode = 0) {
    List result;
    EXPECT_EQ(HostDriver::vector(expression, result), expectedCode);
    return result;
}

} // namespace

TEST(Vector, FiltersWithAndWithoutCaseAndStoresValuesAsFed) {
    struct Case {
        const wchar_t* filter;     // null: not attached
        const wchar_t* ignoreCase; // null: not attached
        List fed;
        List expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, {L"b", L"a", L"b", L""}, {L"b", L"a", L"b", L""}},
        {L"", L"true", {L"x", L"Y"}, {L"x", L"Y"}},
        {L"a*", nullptr, {L"apple", L"Apple"}, {L"apple"}},
        {L"a*", L"true", {L"apple", L"Apple", L"pear"}, {L"apple", L"Apple"}},
        {L"A*", L"true", {L"apple", L"Apple"}, {L"apple", L"Apple"}},
        {L"A*", nullptr, {L"apple", L"Apple"}, {L"Apple"}},
        {L"a*", L"TRUE", {L"apple", L"Apple"}, {L"apple"}},
        {L"a*", L"false", {L"apple", L"Apple"}, {L"apple"}},
        {L"*.TXT",
         L"true",
         {L"Notes.txt", L"notes.log", L"READ.ME.TXT"},
         {L"Notes.txt", L"READ.ME.TXT"}},
        {L"?", nullptr, {L"", L"a", L"ab", L"a"}, {L"a", L"a"}},
    };
    HostDriver host;
    for (const Case& c : cases) {
        auto vector = host.create(L"Vector");
        vector->setProperty(L"filter", c.filter);
        vector->setProperty(L"ignoreCase", c.ignoreCase);
        for (const std::wstring& value : c.fed)
            ASSERT_EQ(HostDriver::feed(*vector, value.c_str()), 0);
        EXPECT_FALSE(vector->isReady());
        EXPECT_EQ(resultOf(*vector), c.expected) << "row " << (&c - cases);
    }
}

TEST(Vector, OffersVectorElementsInOrderAmongScalarChildren) {
    HostDriver host;
    for (const wchar_t* name : {L"Vector", L"Sort"}) {
        auto vector = host.create(name, {{L"filter", L"k*"}, {L"order", L"asc"}});
        EXPECT_EQ(HostDriver::feed(*vector, L"k3"), 0);
        EXPECT_EQ(HostDriver::feed(*vector, {L"k1", L"drop", L"k2", L"k1"}), 0);
        EXPECT_EQ(HostDriver::feed(*vector, {}), 0);
        EXPECT_EQ(HostDriver::feed(*vector, L"k0"), 0);
        List expected = std::wstring(name) == L"Sort" ? List{L"k0", L"k1", L"k1", L"k2", L"k3"}
                                                      : List{L"k3", L"k1", L"k2", L"k1", L"k0"};
        EXPECT_EQ(resultOf(*vector), expected) << "expression " << std::wstring(name).size();
    }
}

TEST(Vector, ReadsItsPropertiesOncePerEvaluation) {
    HostDriver host;
    auto vector = host.create(L"Vector", {{L"filter", L"a*"}});
    EXPECT_EQ(resultOf(*vector), List());
    EXPECT_EQ(HostDriver::feed(*vector, L"ant"), 0);
    vector->setProperty(L"filter", L"b*"); // read at the first value: no effect yet
    EXPECT_EQ(HostDriver::feed(*vector, L"bee"), 0);
    EXPECT_EQ(HostDriver::feed(*vector, L"ape"), 0);
    EXPECT_EQ(resultOf(*vector), (List{L"ant", L"ape"}));
    EXPECT_EQ(resultOf(*vector), (List{L"ant", L"ape"})); // reading does not consume

    vector->disposeExpression();
    EXPECT_EQ(resultOf(*vector), List());
    EXPECT_EQ(HostDriver::feed(*vector, {L"ant", L"bee"}), 0);
    EXPECT_EQ(resultOf(*vector), List{L"bee"});

    vector->disposeExpression();
    vector->setProperty(L"filter", nullptr);
    vector->setProperty(L"ignoreCase", L"true");
    EXPECT_EQ(HostDriver::feed(*vector, {L"Ant", L"bee"}), 0);
    EXPECT_EQ(resultOf(*vector), (List{L"Ant", L"bee"}));
}

TEST(Sort, SortsAtEveryReadByTheOrderAskedThen) {
    HostDriver host;
    auto sort = host.create(L"Sort", {{L"order", L"desc"}});
    EXPECT_EQ(HostDriver::feed(*sort, {L"b", L"a", L"B", L"", L"b"}), 0);
    EXPECT_FALSE(sort->isReady());
    EXPECT_EQ(resultOf(*sort), (List{L"b", L"b", L"a", L"B", L""}));
    sort->setProperty(L"order", L"asc");
    EXPECT_EQ(resultOf(*sort), (List{L"", L"B", L"a", L"b", L"b"}));
    sort->setProperty(L"order", nullptr);
    EXPECT_EQ(HostDriver::feed(*sort, L"A"), 0);
    EXPECT_EQ(resultOf(*sort), (List{L"", L"A", L"B", L"a", L"b", L"b"}));
    sort->disposeExpression();
    EXPECT_EQ(resultOf(*sort), List());
}

TEST(Sort, RefusesAnUnknownOrderWithoutTouchingEitherList) {
    HostDriver host;
    for (const wchar_t* order : {L"DESC", L"Asc", L"", L"descending", L" asc"}) {
        auto sort = host.create(L"Sort", {{L"order", order}});
        EXPECT_EQ(HostDriver::feed(*sort, {L"b", L"a"}), 0);
        PluginSDK::StringVector result;
        result.addString(L"caller's");
        EXPECT_EQ(static_cast<PluginSDK::VectorExpression&>(*sort).getVectorResult(result), -11056)
            << "order of length " << std::wcslen(order);
        ASSERT_EQ(result.size(), 1);
        EXPECT_TRUE(result[0] == L"caller's");
        // The values are still there for a read with a known order.
        sort->setProperty(L"order", L"desc");
        EXPECT_EQ(resultOf(*sort), (List{L"b", L"a"}));
    }
}
