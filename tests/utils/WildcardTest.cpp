// Every form of the wildcard matcher (plain, ignoring case, escaped; narrow and
// wide) against the reference of the wildcard fuzz target: on every short
// pattern and text over small alphabets, on random ones with NULs and
// characters beyond one byte, and on long ones whose segments occur often and
// fail late (the matcher's skipping scans and its comparison at the end).
#include "TextChecks.h"

#include "utils/Wildcard.h"

#include <gtest/gtest.h>

#include <clocale>
#include <random>
#include <string>
#include <vector>

namespace {

// Every string of up to maxLength characters over the alphabet.
std::vector<std::string> allStrings(const std::string& alphabet, std::size_t maxLength) {
    std::vector<std::string> result{""};
    for (std::size_t begin = 0, end = 1; maxLength-- > 0; begin = end, end = result.size())
        for (std::size_t i = begin; i < end; ++i)
            for (char c : alphabet)
                result.push_back(result[i] + c);
    return result;
}

::testing::AssertionResult agrees(unsigned mode, const std::string& pattern,
                                  const std::string& text) {
    if (const char* failed = fuzzing::checkWildcard(mode, pattern, text))
        return ::testing::AssertionFailure() << failed << " in mode " << mode << " for pattern "
                                             << ::testing::PrintToString(pattern) << " and text "
                                             << ::testing::PrintToString(text);
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(Wildcard, EveryFormAgreesWithTheReferenceOnEveryShortPatternAndText) {
    // Odd (wide) modes read 0x84 as -5, 0x8C as U+00E9, 0x8D as U+00C9 and
    // 0x90 as U+263A, whose low byte is ':'.
    const struct {
        unsigned mode;
        const char* patternLetters;
        std::size_t patternLength;
        const char* textLetters;
        std::size_t textLength;
    } spaces[] = {
        {0, "ab*?", 5, "ab", 6},       {1, "a:*?\x90", 4, "a:\x84\x90", 4},
        {2, "aB*?", 4, "Ab", 5},       {3, "a*?\x8D", 4, "A\x8C\x84", 4},
        {4, "a\\*?", 4, "a*?\x01", 4}, {5, "\\*?\x90", 4, "*\x02\x90", 4},
    };
    for (const auto& s : spaces)
        for (const std::string& pattern : allStrings(s.patternLetters, s.patternLength))
            for (const std::string& text : allStrings(s.textLetters, s.textLength))
                ASSERT_TRUE(agrees(s.mode, pattern, text));
}

TEST(Wildcard, EveryFormAgreesWithTheReferenceOnRandomAndLongInputs) {
    std::mt19937 random(20240601);
    const auto pick = [&random](const std::string& letters, std::size_t maxLength) {
        std::string picked(random() % (maxLength + 1), '\0');
        for (char& c : picked)
            c = letters[random() % letters.size()];
        return picked;
    };
    // NUL, the codes of the escaped matcher and every high byte (each a
    // different character to the wide modes) among the usual letters.
    std::string hostile = std::string("ab*?*\\A:\1\2") + '\0';
    for (int high = 0x80; high < 0x94; ++high)
        hostile += static_cast<char>(high);
    for (unsigned round = 0; round < 6000; ++round)
        ASSERT_TRUE(agrees(round, pick(hostile, 8), pick("aAb*?\\\x8C\x90", 10)));
    for (unsigned round = 0; round < 3000; ++round)
        ASSERT_TRUE(agrees(round, pick("ab*?", 12), pick("ab", 24)));
    // Long runs of 'a' with sparse 'b' against segments of long runs of 'a'
    // closed by 'b', '?' or nothing.
    const char* const closers[] = {"b", "?", ""};
    for (unsigned round = 0; round < 600; ++round) {
        std::string pattern = round % 2 ? "*" : "";
        for (unsigned segment = 0, count = 1 + random() % 3; segment < count; ++segment)
            pattern += std::string(segment ? "*" : "") + std::string(random() % 40, 'a') +
                       closers[random() % 3];
        pattern += round % 4 < 2 ? "*" : "";
        const std::string text = round % 3 ? pick("aaaaaaaaaaab", 300) : pick("aab*?", 200);
        ASSERT_TRUE(agrees(round, round % 5 ? pattern : pick("aab*?", 40), text));
    }
}

TEST(Wildcard, WideLowerCasingLeavesCharactersAbove255Alone) {
    // In a UTF-8 locale U+0100 and U+0391 have lower-case forms, but lie
    // outside the single-byte range.
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "C.UTF-8");
    std::wstring text{L'A', L'Z', wchar_t(0x100), wchar_t(0x391), L'q', wchar_t(-1)};
    utils::stringToLower(text);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(text, (std::wstring{L'a', L'z', wchar_t(0x100), wchar_t(0x391), L'q', wchar_t(-1)}));
}
