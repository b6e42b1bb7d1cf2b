// Packing lists into one text and back with the host SDK's VectorString. The
// texts of single lists are end-to-end cases of VectorToScalar and
// ScalarToVector (vectors.json).
#include "PluginSDK/VectorString.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using PluginSDK::StringVector;
using PluginSDK::VectorString;
using List = std::vector<std::wstring>;

namespace {

List items(const StringVector& list) {
    List result;
    for (const PluginSDK::String& element : list.items())
        result.push_back(element.str());
    return result;
}

} // namespace

TEST(VectorString, EveryListSurvivesPackingAndUnpacking) {
    // Lists of up to eight elements drawn mostly from ';' and '\', so that runs
    // of them and elements ending in them occur.
    const wchar_t alphabet[] = {L';', L'\\', L';', L'\\', L'a', L' ', L'\u00e9', L'\U0001F600'};
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> pick(0, 7), count(0, 8), length(0, 6);
    for (int round = 0; round < 2000; ++round) {
        List list(count(random));
        VectorString packed;
        for (std::wstring& element : list) {
            for (int n = length(random); n > 0; --n)
                element += alphabet[pick(random)];
            packed += element.c_str();
        }
        StringVector unpacked;
        VectorString::toVector(packed, unpacked);
        ASSERT_EQ(items(unpacked), list) << "packed as " << static_cast<const wchar_t*>(packed);
    }
}

// ScalarToVector empties the list before it unpacks into it.
TEST(VectorString, UnpackingAppendsToTheList) {
    StringVector list;
    list.addString(L"kept");
    VectorString::toVector(L"a;;", list);
    VectorString::toVector(nullptr, list);
    EXPECT_EQ(items(list), (List{L"kept", L"a", L""}));
}
