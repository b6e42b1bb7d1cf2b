// Expression properties and the order of string lists of the host SDK.
#include "PluginSDK/Configuration.h"
#include "PluginSDK/ScalarOperand.h"
#include "PluginSDK/StringVector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using PluginSDK::String;
using PluginSDK::StringVector;

namespace {

class Leaf : public PluginSDK::ScalarOperand {
public:
    void disposeExpression() override {}
    TErrorCode getScalarResult(PluginSDK::String&) override { return 0; }
};

} // namespace

// Attaching, replacing and detaching are what every transcript does; here the
// names that find nothing.
TEST(SdkExpression, PropertiesAreFoundByTheirExactNameOnly) {
    Leaf leaf;
    leaf.setProperty(L"value", L"1");
    leaf.setProperty(nullptr, L"ignored");
    EXPECT_STREQ(leaf.getProperty(L"value"), L"1");
    EXPECT_TRUE(leaf.getProperty(L"Value") == nullptr && leaf.getProperty(nullptr) == nullptr);
}

// Texts with long shared prefixes, units that are negative as wchar_t or
// beyond the basic plane, NUL units held inside short texts (sorting reads
// leading units ahead of the texts, a missing unit as 0), duplicates and
// prefixes of each other: the list sorts them as String orders them, both ways.
TEST(SdkStringVector, SortsAsStringOrdersTexts) {
    const wchar_t units[] = {L'a',
                             L'b',
                             L'B',
                             L'\u00e9',
                             L'\U0001F600',
                             static_cast<wchar_t>(-1),
                             static_cast<wchar_t>(0x7fffffff)};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, 6), length(0, 11);
    std::vector<std::wstring> texts = {L"/usr/share/",
                                       L"/usr/share/",
                                       L"",
                                       L"a",
                                       L"ab",
                                       L"abc",
                                       L"abcd",
                                       std::wstring(L"a\0", 2),
                                       std::wstring(L"a\0b", 3),
                                       std::wstring(1, L'\0'),
                                       std::wstring(L"ab\0\0", 4),
                                       std::wstring(L"ab\0\0c", 5),
                                       std::wstring(5, L'\0')};
    auto toString = [](const std::wstring& text) {
        String item;
        item.str() = text;
        return item;
    };
    for (int i = 0; i < 600; ++i) {
        std::wstring text = (i % 3 == 0) ? L"" : L"/usr/share/";
        for (int n = length(random); n > 0; --n)
            text += units[pick(random)];
        texts.push_back(text);
    }
    for (bool descending : {false, true}) {
        StringVector list;
        for (const std::wstring& text : texts)
            list.addString(toString(text));
        list.sort(descending);
        std::vector<std::wstring> sorted, expected = texts;
        for (const String& item : list.items())
            sorted.push_back(item.str());
        std::sort(expected.begin(), expected.end(),
                  [&](const std::wstring& a, const std::wstring& b) {
                      return toString(a) < toString(b);
                  });
        if (descending)
            std::reverse(expected.begin(), expected.end());
        EXPECT_EQ(sorted, expected) << (descending ? "descending" : "ascending");
    }
    StringVector negative;
    negative.addString(std::wstring(1, static_cast<wchar_t>(-5)).c_str());
    negative.addString(L"\U0010FFFF");
    negative.sort(false);
    EXPECT_TRUE(negative[0] == L"\U0010FFFF") << "negative units sort after every code point";
}

namespace {

// A host that keeps its plug-in in a static object cleans the plug-in up from
// that object's destructor, at exit, after statics made later are gone.
struct HostCleaningUpAtExit {
    ~HostCleaningUpAtExit() { PluginSDK::Configuration::cleanup(L"CorePlugin"); }
};

} // namespace

TEST(SdkConfigurationDeathTest, StoresOutliveHostsThatCleanUpAtExit) {
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // a fresh process: no store made before
    EXPECT_EXIT(
        {
            static HostCleaningUpAtExit host; // made before the first store
            PluginSDK::Configuration* store = nullptr;
            PluginSDK::Configuration::get(L"CorePlugin", store);
            store->setProperty(L"defaultWindowsRegistrySection", L"64");
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
