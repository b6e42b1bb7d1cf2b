// The stores of the host SDK: expression properties, the order of string
// lists, and the configuration stores at exit.
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

// Every value stays readable, at the same place, while other properties are
// attached, replaced and detached around it; a node with a hundred thousand
// properties takes them in linear time; a name finds its exact property only.
TEST(SdkProperties, ValuesStayInPlaceWhileOthersChange) {
    Leaf leaf;
    // Short values, a long one, names that extend one another, an empty name.
    leaf.setProperty(L"a", L"1");
    leaf.setProperty(L"ab", L"22");
    const std::wstring longValue(300, L'x');
    leaf.setProperty(L"abc", longValue.c_str());
    leaf.setProperty(L"", L"empty name");
    leaf.setProperty(nullptr, L"ignored");
    const wchar_t* first = leaf.getProperty(L"a");
    const wchar_t* second = leaf.getProperty(L"ab");
    const wchar_t* third = leaf.getProperty(L"abc");

    constexpr int kCount = 100000;
    std::vector<std::wstring> names(kCount);
    for (int i = 0; i < kCount; ++i)
        names[i] = L"name" + std::to_wstring(i);
    for (int i = 0; i < kCount; ++i)
        leaf.setProperty(names[i].c_str(), std::to_wstring(i).c_str());
    for (int i = 0; i < kCount; i += 2)
        leaf.setProperty(names[i].c_str(), nullptr);
    for (int i = 1; i < kCount; i += 4)
        leaf.setProperty(names[i].c_str(), (std::to_wstring(i) + L"+").c_str());
    // (A walk of the list per call took minutes here: ctest's timeout would end this test.)

    EXPECT_EQ(leaf.getProperty(L"a"), first);
    EXPECT_EQ(leaf.getProperty(L"ab"), second);
    EXPECT_EQ(leaf.getProperty(L"abc"), third);
    EXPECT_STREQ(first, L"1");
    EXPECT_STREQ(second, L"22");
    EXPECT_EQ(std::wstring(third), longValue);
    EXPECT_STREQ(leaf.getProperty(L""), L"empty name");
    for (int i = 0; i < kCount; ++i) {
        const wchar_t* value = leaf.getProperty(names[i].c_str());
        EXPECT_EQ(std::wstring(value ? value : L"(none)"),
                  i % 2 == 0 ? L"(none)" : std::to_wstring(i) + (i % 4 == 1 ? L"+" : L""))
            << i;
    }
    for (const wchar_t* other :
         {L"abcd", L"A", L"name", L"name1 ", static_cast<const wchar_t*>(nullptr)})
        EXPECT_EQ(leaf.getProperty(other), nullptr) << other;
}

// Texts with long shared prefixes, units that are negative as wchar_t or
// beyond the basic plane, NUL units held inside short texts (sorting reads
// leading units ahead of the texts, a missing unit as 0), duplicates and
// prefixes of each other: the list sorts them as String orders them, both ways.
TEST(SdkStringVector, SortsAsStringOrdersTexts) {
    const wchar_t units[] = {L'a',          L'b',  L'B',        L'\u00e9',
                             L'\U0001F600', L'\0', wchar_t(-1), wchar_t(0x7fffffff)};
    const wchar_t fixed[] =
        L"/usr/share/|/usr/share/||a|ab|abc|abcd|a\0|a\0b|\0|ab\0\0|ab\0\0c|\0\0\0\0\0";
    std::vector<std::wstring> texts;
    const std::wstring joined(fixed, sizeof fixed / sizeof *fixed - 1);
    for (std::size_t start = 0, end = 0; start <= joined.size(); start = end + 1) {
        end = std::min(joined.find(L'|', start), joined.size());
        texts.push_back(joined.substr(start, end - start));
    }
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, 7), length(0, 11);
    for (int i = 0; i < 600; ++i) {
        std::wstring text = (i % 3 == 0) ? L"" : L"/usr/share/";
        for (int n = length(random); n > 0; --n)
            text += units[pick(random)];
        texts.push_back(text);
    }
    auto toString = [](const std::wstring& text) {
        String item;
        item.str() = text;
        return item;
    };
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
                      return descending ? toString(b) < toString(a) : toString(a) < toString(b);
                  });
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
