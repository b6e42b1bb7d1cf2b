// The wildcard matcher against an exhaustive reference, its named cases, NUL
// handling, characters beyond one byte, and case-insensitive matching.
#include "utils/Wildcard.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Tries every split: true exactly when some run for each "*" and one
// character for each "?" make the pattern equal the text.
template <typename CharT> bool referenceMatch(const CharT* pattern, const CharT* text) {
    if (*pattern == CharT(0))
        return *text == CharT(0);
    if (*pattern == CharT('*'))
        return referenceMatch(pattern + 1, text) ||
               (*text != CharT(0) && referenceMatch(pattern, text + 1));
    if (*text == CharT(0))
        return false;
    return (*pattern == CharT('?') || *pattern == *text) && referenceMatch(pattern + 1, text + 1);
}

// The same decision by dynamic programming over (pattern prefix, text prefix),
// for inputs too long for the recursive reference.
template <typename StringT> bool tableMatch(const StringT& pattern, const StringT& text) {
    using CharT = typename StringT::value_type;
    // reach[j]: the pattern prefix read so far matches the text prefix of length j.
    std::vector<char> reach(text.size() + 1, 0);
    reach[0] = 1;
    for (CharT c : pattern) {
        std::vector<char> next(text.size() + 1, 0);
        for (std::size_t j = 0; j <= text.size(); ++j) {
            if (c == CharT('*'))
                next[j] = reach[j] || (j > 0 && next[j - 1]);
            else if (j > 0)
                next[j] = reach[j - 1] && (c == CharT('?') || c == text[j - 1]);
        }
        reach.swap(next);
    }
    return reach[text.size()] != 0;
}

// Every string of length 0 to maxLength over the alphabet.
template <typename StringT>
std::vector<StringT> allStrings(const StringT& alphabet, std::size_t maxLength) {
    std::vector<StringT> result{StringT()};
    std::size_t begin = 0;
    for (std::size_t length = 1; length <= maxLength; ++length) {
        std::size_t end = result.size();
        for (std::size_t i = begin; i < end; ++i)
            for (auto c : alphabet)
                result.push_back(result[i] + c);
        begin = end;
    }
    return result;
}

// Matches through exact-size heap copies so that AddressSanitizer catches a
// read past either terminator.
template <typename StringT> bool matchExact(const StringT& pattern, const StringT& text) {
    using CharT = typename StringT::value_type;
    std::vector<CharT> p(pattern.c_str(), pattern.c_str() + pattern.size() + 1);
    std::vector<CharT> t(text.c_str(), text.c_str() + text.size() + 1);
    return utils::matchWildcard(p.data(), t.data());
}

template <typename StringT>
void checkAgainstReference(const StringT& patternAlphabet, std::size_t patternLength,
                           const StringT& textAlphabet, std::size_t textLength) {
    const auto patterns = allStrings(patternAlphabet, patternLength);
    const auto texts = allStrings(textAlphabet, textLength);
    int failures = 0;
    for (const StringT& pattern : patterns)
        for (const StringT& text : texts) {
            bool expected = referenceMatch(pattern.c_str(), text.c_str());
            bool actual = matchExact(pattern, text);
            if (actual != expected && ++failures <= 10)
                ADD_FAILURE() << "pattern of " << pattern.size() << " characters, text of "
                              << text.size() << ": expected " << expected;
        }
    EXPECT_EQ(failures, 0);
}

} // namespace

TEST(Wildcard, NarrowAgreesWithTheReferenceOnEveryShortPatternAndText) {
    checkAgainstReference(std::string("ab*?"), 5, std::string("ab"), 7);
}

TEST(Wildcard, WideAgreesWithTheReferenceBeyondTheByteRange) {
    // A character above 255, a negative code unit and a plain letter.
    const std::wstring letters{L'a', wchar_t(0x263A), wchar_t(-5)};
    checkAgainstReference(letters + L"*?", 4, letters, 5);
}

TEST(Wildcard, AgreesWithTheReferenceOnLongerRandomInputs) {
    std::mt19937 random(20240601);
    const std::string patternAlphabet = "ab*?";
    const std::string textAlphabet = "ab";
    for (int round = 0; round < 3000; ++round) {
        std::string pattern, text;
        std::size_t patternLength = random() % 12, textLength = random() % 24;
        for (std::size_t i = 0; i < patternLength; ++i)
            pattern += patternAlphabet[random() % patternAlphabet.size()];
        for (std::size_t i = 0; i < textLength; ++i)
            text += textAlphabet[random() % textAlphabet.size()];
        ASSERT_EQ(matchExact(pattern, text), referenceMatch(pattern.c_str(), text.c_str()))
            << "pattern '" << pattern << "' text '" << text << "'";
    }
}

TEST(Wildcard, AgreesWithTheTableOnLongTextsAndLongSegments) {
    // Long texts over few letters make every segment occur often and fail late,
    // so the scans that skip to a segment's first letter and the comparison of
    // the last segment with the end of the text are exercised at length.
    std::mt19937 random(77);
    const std::wstring patternAlphabet = L"aab*?";
    for (int round = 0; round < 400; ++round) {
        std::wstring pattern, text;
        std::size_t patternLength = random() % 40, textLength = random() % 400;
        for (std::size_t i = 0; i < patternLength; ++i)
            pattern += patternAlphabet[random() % patternAlphabet.size()];
        // Mostly a, with b rarer at random: long runs and sparse occurrences.
        const unsigned bOdds = 2 + random() % 60;
        for (std::size_t i = 0; i < textLength; ++i)
            text += random() % bOdds ? L'a' : L'b';
        ASSERT_EQ(matchExact(pattern, text), tableMatch(pattern, text))
            << "pattern of " << pattern.size() << " characters, text of " << text.size();
        std::string narrowPattern(pattern.begin(), pattern.end());
        std::string narrowText(text.begin(), text.end());
        ASSERT_EQ(matchExact(narrowPattern, narrowText), tableMatch(pattern, text))
            << "narrow '" << narrowPattern << "' against '" << narrowText << "'";
    }

    // Segments of long runs of a, each closed by b, "?" or nothing, against runs
    // of a between single b: attempts fail late, after long partial matches,
    // and the leftmost match can start at any position.
    const std::wstring closers[] = {L"b", L"?", L""};
    for (int round = 0; round < 300; ++round) {
        std::wstring pattern = random() % 2 ? L"*" : L"";
        for (unsigned segment = 0, count = 1 + random() % 3; segment < count; ++segment) {
            if (segment > 0)
                pattern += L'*';
            pattern += std::wstring(random() % 80, L'a') + closers[random() % 3];
        }
        if (random() % 2)
            pattern += L'*';
        std::wstring text(random() % 300, L'a');
        for (unsigned run = 0, count = random() % 4; run < count; ++run)
            text += L'b' + std::wstring(random() % 300, L'a');
        ASSERT_EQ(matchExact(pattern, text), tableMatch(pattern, text))
            << "pattern of " << pattern.size() << " characters, text of " << text.size();
    }
}

TEST(Wildcard, NamedCases) {
    struct Case {
        const char* pattern;
        const char* text;
        bool matches;
    };
    const Case cases[] = {
        {"*", "", true},
        {"", "", true},
        {"", "a", false},
        {"?", "", false},
        {"*?", "", false},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"a*", "a", true},
        {"a**", "a", true},
        {"*.txt", "notes.txt", true},
        {"*.log", "app.log.1", false},
        {"*log*", "catalog", true},
        {"*ab", "aab", true},
        {"*aab", "aaab", true},
        {"*sip*", "mississippi", true},
        {"*iss*ppi", "mississippi", true},
        // Each of these needs a retry from an earlier split.
        {"*aaa", "aaaaa", true},
        {"*aaa", "aaaa", true},
        {"*a?b", "aaab", true},
        {"*a?b*", "aaab", true},
        {"*abab", "ababab", true},
        {"*abab", "abababab", true},
        {"*abab", "ababa", false},
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utils::matchWildcard(c.pattern, c.text), c.matches)
            << "'" << c.pattern << "' against '" << c.text << "'";
        std::wstring pattern(c.pattern, c.pattern + std::char_traits<char>::length(c.pattern));
        std::wstring text(c.text, c.text + std::char_traits<char>::length(c.text));
        EXPECT_EQ(utils::matchWildcard(pattern, text), c.matches)
            << "wide '" << c.pattern << "' against '" << c.text << "'";
    }
}

TEST(Wildcard, NullMatchesNothing) {
    EXPECT_FALSE(utils::matchWildcard<char>(nullptr, ""));
    EXPECT_FALSE(utils::matchWildcard<char>("*", nullptr));
    EXPECT_FALSE(utils::matchWildcard<wchar_t>(nullptr, nullptr));
}

TEST(Wildcard, StandardStringsMatchUpToTheirFirstNul) {
    std::string pattern("a*\0zz", 5);
    std::string text("abc");
    EXPECT_TRUE(utils::matchWildcard(pattern, text));
    std::string exact("ab");
    std::string longer("ab\0cd", 5);
    EXPECT_TRUE(utils::matchWildcard(exact, longer));
    std::wstring widePattern(L"x\0y", 3);
    std::wstring wideText(L"x\0z", 3);
    EXPECT_TRUE(utils::matchWildcard(widePattern, wideText));
    std::wstring wideOther(L"x\0", 2);
    std::wstring wideLonger(L"xy", 2);
    EXPECT_FALSE(utils::matchWildcard(wideOther, wideLonger));
}

TEST(Wildcard, QuestionMarkTakesOneWideCharacterWhateverItsValue) {
    std::wstring pattern = L"?b";
    std::wstring high{wchar_t(0x1F600), L'b'};
    std::wstring negative{wchar_t(-1), L'b'};
    EXPECT_TRUE(utils::matchWildcard(pattern, high));
    EXPECT_TRUE(utils::matchWildcard(pattern, negative));
    // Code units compare by full value: 0x141 is not 'A' (0x41).
    std::wstring letter = L"A";
    std::wstring wide{wchar_t(0x141)};
    EXPECT_FALSE(utils::matchWildcard(letter, wide));
}

TEST(Wildcard, IgnoringCaseLowersBothArgumentsInPlace) {
    std::string pattern = "*.TXT";
    std::string text = "Notes.txt";
    EXPECT_TRUE(utils::matchWildcard(pattern, text, true));
    EXPECT_EQ(pattern, "*.txt");
    EXPECT_EQ(text, "notes.txt");

    std::wstring widePattern = L"*.TXT";
    std::wstring wideText = L"Notes.txt";
    EXPECT_TRUE(utils::matchWildcard(widePattern, wideText, true));
    EXPECT_EQ(widePattern, L"*.txt");
    EXPECT_EQ(wideText, L"notes.txt");

    // Without the flag nothing is lowered and case counts.
    pattern = "*.TXT";
    text = "Notes.txt";
    EXPECT_FALSE(utils::matchWildcard(pattern, text, false));
    EXPECT_EQ(pattern, "*.TXT");
    EXPECT_EQ(text, "Notes.txt");
}

TEST(Wildcard, WideLowerCasingLeavesCharactersAbove255Alone) {
    // U+0100 and U+0391 are upper-case letters, but outside the byte range.
    std::wstring text{L'A', L'Z', wchar_t(0x100), wchar_t(0x391), L'q', wchar_t(-1)};
    utils::stringToLower(text);
    EXPECT_EQ(text, (std::wstring{L'a', L'z', wchar_t(0x100), wchar_t(0x391), L'q', wchar_t(-1)}));
    std::string narrow = "MiXeD 42";
    utils::stringToLower(narrow);
    EXPECT_EQ(narrow, "mixed 42");
}
