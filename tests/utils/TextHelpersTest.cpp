// The utils text helpers (trims, split, replace, affixes, formatting, argument
// lists, matchString) and the base library's linear search against the
// references of the text fuzz target, on named and random hostile texts; then
// what those references leave open: the capture of matchString, formats that
// fail and texts longer than the target's.
#include "TextChecks.h"

#include "utils/RegexMatch.h"
#include "utils/StringOps.h"
#include "utils/Trim.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <random>
#include <string>

TEST(TextHelpers, AgreeWithTheReferencesOnHostileTexts) {
    // In a UTF-8 locale the wide classes call U+3000 and U+0085 white space
    // (bytes 0x88 and 0x86 to the wide trims), which the trims must still keep.
    struct InUtf8Locale {
        const std::string saved = std::setlocale(LC_ALL, nullptr);
        InUtf8Locale() { std::setlocale(LC_ALL, "C.UTF-8"); }
        ~InUtf8Locale() { std::setlocale(LC_ALL, saved.c_str()); }
    } locale;
    const std::string named[][3] = {
        {std::string("\t\r x \n\0\0", 8), "", "x"},
        {std::string("\0 ab", 4), " ", " "},
        {" \x88\x86 x \x86\x88\x84\t", "\x88", "\x86"},
        {"aaa", "a", "aa"},
        // Searched three times over, the fragment is long enough for the
        // table search, and its first attempt fails one character short.
        {"aaaaaabaaaaabaaaaab", "aaaaab", ""},
    };
    std::mt19937 random(99);
    const auto pick = [&random](const char* letters, std::size_t count, std::size_t maxLength) {
        std::string picked(random() % (maxLength + 1), '\0');
        for (char& c : picked)
            c = letters[random() % count];
        return picked;
    };
    const char hostile[] = " \t\n\v\f\r\0ab(*+\\|?\x84\x86\x88\xE9";
    for (unsigned round = 0; round < 6 * (5 + 3000); ++round) {
        std::string first, second, third;
        if (round < 30) {
            first = named[round / 6][0], second = named[round / 6][1], third = named[round / 6][2];
        } else if (round % 2) {
            // Pieces of the fragment and its repetitions: partial matches that
            // fail late, for search, replace and split.
            second = pick("ab", 2, 8), third = pick("ab", 2, 3);
            while (first.size() < 100)
                first += random() % 2 ? std::string(second).append(second).append(second)
                                      : second.substr(0, random() % (second.size() + 1)) + "b";
        } else {
            first = pick(hostile, sizeof hostile - 1, 40), second = pick(hostile, 16, 6),
            third = pick(hostile, 16, 6);
        }
        const long number = static_cast<long>(random()) - 1000;
        const char* failed = fuzzing::checkText(round, number, first, second, third);
        ASSERT_EQ(failed, nullptr)
            << failed << " in mode " << round % 6 << " with " << number << ", "
            << ::testing::PrintToString(first) << ", " << ::testing::PrintToString(second) << ", "
            << ::testing::PrintToString(third);
    }
}

TEST(TextHelpers, FormattingFailsAsEmptyAndLongTextsFormatWhole) {
    // No multibyte form exists beyond U+10FFFF.
    const wchar_t invalid[] = {wchar_t(0x110000), 0};
    EXPECT_EQ(utils::formatString("ok %ls", invalid), "");
    const std::string longText(5000, 'z');
    EXPECT_EQ(utils::formatString("%d-<%s>-%c", 42, longText.c_str(), 'y'),
              "42-<" + longText + ">-y");
}

TEST(TextHelpers, MatchStringCapturesTheFirstGroup) {
    // Pattern, text, status, capture: the first group, not a later one; none
    // without a group or when the group took no part; extended syntax.
    const char* const cases[][4] = {
        {"a([0-9]+)", "xya42bz", "0", "42"},
        {"(b+)(c+)", "abbccd", "0", "bb"},
        {"a[0-9]", "xa4", "0", ""},
        {"x|(y)", "x", "0", ""},
        {"^(a+)$", "aaa", "0", "aaa"},
        {"a([0-9]+)", "abc", "1", ""},
        {"a(", "a(", "4", ""},
        {nullptr, "a", "4", ""},
        {"a", nullptr, "1", ""},
    };
    for (const auto& c : cases) {
        std::string captured = "stale";
        EXPECT_EQ(utils::matchString(c[0], c[1], captured), std::atoi(c[2]))
            << "row " << (&c - cases);
        EXPECT_EQ(captured, c[3]) << "row " << (&c - cases);
    }
}
