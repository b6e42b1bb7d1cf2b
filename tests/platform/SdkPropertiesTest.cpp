// Expression properties: every value stays readable, at the same place, while
// other properties are attached, replaced and detached around it, and a node
// with a hundred thousand properties takes them in linear time.
#include "PluginSDK/ScalarOperand.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

class Leaf : public PluginSDK::ScalarOperand {
public:
    void disposeExpression() override {}
    TErrorCode getScalarResult(PluginSDK::String& result) override {
        result = L"";
        return 0;
    }
};

} // namespace

TEST(SdkProperties, ValuesStayInPlaceWhileOthersChange) {
    Leaf leaf;
    // Short values, a long one, and names that extend one another.
    leaf.setProperty(L"a", L"1");
    leaf.setProperty(L"ab", L"22");
    const std::wstring longValue(300, L'x');
    leaf.setProperty(L"abc", longValue.c_str());
    const wchar_t* first = leaf.getProperty(L"a");
    const wchar_t* second = leaf.getProperty(L"ab");
    const wchar_t* third = leaf.getProperty(L"abc");

    constexpr int kCount = 100000;
    std::vector<std::wstring> names;
    for (int i = 0; i < kCount; ++i)
        names.push_back(L"name" + std::to_wstring(i));
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCount; ++i)
        leaf.setProperty(names[i].c_str(), std::to_wstring(i).c_str());
    for (int i = 0; i < kCount; i += 2)
        leaf.setProperty(names[i].c_str(), nullptr);
    for (int i = 1; i < kCount; i += 4)
        leaf.setProperty(names[i].c_str(), (std::to_wstring(i) + L"+").c_str());
    // A walk of the list per call took minutes here; a sanitized linear run takes well under one.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

    EXPECT_EQ(leaf.getProperty(L"a"), first);
    EXPECT_EQ(leaf.getProperty(L"ab"), second);
    EXPECT_EQ(leaf.getProperty(L"abc"), third);
    EXPECT_STREQ(first, L"1");
    EXPECT_STREQ(second, L"22");
    EXPECT_EQ(std::wstring(third), longValue);
    for (int i = 0; i < kCount; ++i) {
        const wchar_t* value = leaf.getProperty(names[i].c_str());
        if (i % 2 == 0)
            EXPECT_EQ(value, nullptr) << i;
        else
            EXPECT_EQ(std::wstring(value ? value : L"?"),
                      std::to_wstring(i) + (i % 4 == 1 ? L"+" : L""))
                << i;
    }
    EXPECT_EQ(leaf.getProperty(L"abcd"), nullptr);
    EXPECT_EQ(leaf.getProperty(L""), nullptr);
}

TEST(SdkProperties, ReplacingAndDetachingFreesRoomForLaterProperties) {
    Leaf leaf;
    for (int round = 0; round < 50; ++round) {
        const std::wstring value = std::wstring(static_cast<std::size_t>(round), L'v');
        leaf.setProperty(L"value", value.c_str());
        leaf.setProperty(L"", L"empty name");
        leaf.setProperty(L"other", round % 2 ? L"odd" : nullptr);
        ASSERT_NE(leaf.getProperty(L"value"), nullptr);
        EXPECT_EQ(std::wstring(leaf.getProperty(L"value")), value);
        EXPECT_STREQ(leaf.getProperty(L""), L"empty name");
        if (round % 2)
            EXPECT_STREQ(leaf.getProperty(L"other"), L"odd");
        else
            EXPECT_EQ(leaf.getProperty(L"other"), nullptr);
        if (round % 3 == 0)
            leaf.setProperty(L"value", nullptr);
    }
}
