// Packing lists into one text and back with the host SDK's VectorString,
// against the references of the list-packing fuzz target. The texts of single
// lists are end-to-end cases of VectorToScalar and ScalarToVector (vectors.json).
#include "TextChecks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

TEST(VectorString, EveryListSurvivesPackingAndEveryTextUnpacksAsWritten) {
    // Mostly ';' and '\', so that runs of them and elements ending in them occur.
    const wchar_t alphabet[] = {L';', L'\\', L';', L'\\', L'a', L' ', L'\u00e9', L'\U0001F600'};
    std::mt19937 random(1234);
    const auto pick = [&](std::size_t maxLength) {
        std::wstring picked(random() % (maxLength + 1), L'\0');
        for (wchar_t& c : picked)
            c = alphabet[random() % 8];
        return picked;
    };
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::wstring> list(random() % 9);
        for (std::wstring& element : list)
            element = pick(6);
        const std::wstring text = pick(20) + (round % 4 ? L"" : std::wstring(1, L'\0') + pick(4));
        const char* failed = fuzzing::checkPacking(list);
        ASSERT_EQ(failed, nullptr) << failed << " for a list of " << list.size();
        failed = fuzzing::checkUnpacking(text);
        ASSERT_EQ(failed, nullptr) << failed << " for " << ::testing::PrintToString(text);
    }
}
