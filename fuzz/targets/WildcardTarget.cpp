// Fuzz target: the wildcard matchers agree with an exhaustive reference.
#include "ByteReader.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include "utils/Wildcard.h"
#include "utils/WildcardEscaped.h"

#include <cctype>
#include <string>
#include <vector>

namespace fuzzing {

namespace {

constexpr std::size_t kMaxPattern = 48;
constexpr std::size_t kMaxText = 160;

// One element of a pattern as the reference reads it.
struct Token {
    enum Kind { AnyRun, AnyOne, Literal } kind;
    wchar_t literal;
};

// Exhaustive match by dynamic programming over (pattern position, text
// position): reachable[i][j] is whether tokens i.. match text j..
template <typename Equal>
bool referenceMatch(const std::vector<Token>& pattern, const std::wstring& text, Equal equal) {
    const std::size_t m = pattern.size();
    const std::size_t n = text.size();
    std::vector<std::vector<char>> matches(m + 1, std::vector<char>(n + 1, 0));
    matches[m][n] = 1;
    for (std::size_t i = m; i-- > 0;) {
        for (std::size_t j = n + 1; j-- > 0;) {
            const Token& token = pattern[i];
            bool result = false;
            if (token.kind == Token::AnyRun)
                result = matches[i + 1][j] || (j < n && matches[i][j + 1]);
            else if (j < n)
                result = (token.kind == Token::AnyOne || equal(token.literal, text[j])) &&
                         matches[i + 1][j + 1];
            matches[i][j] = result;
        }
    }
    return matches[0][0] != 0;
}

// Texts end at their first NUL, as the matcher reads them.
std::wstring untilNul(const std::wstring& text) {
    return text.substr(0, text.find(L'\0'));
}

std::vector<Token> plainTokens(const std::wstring& pattern) {
    std::vector<Token> tokens;
    for (wchar_t c : pattern) {
        if (c == L'*')
            tokens.push_back({Token::AnyRun, 0});
        else if (c == L'?')
            tokens.push_back({Token::AnyOne, 0});
        else
            tokens.push_back({Token::Literal, c});
    }
    return tokens;
}

// "\*" and "\?" are literal stars and question marks; nothing else escapes.
std::vector<Token> escapedTokens(const std::wstring& pattern) {
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        wchar_t c = pattern[i];
        if (c == L'\\' && i + 1 < pattern.size() &&
            (pattern[i + 1] == L'*' || pattern[i + 1] == L'?'))
            tokens.push_back({Token::Literal, pattern[++i]});
        else if (c == L'*')
            tokens.push_back({Token::AnyRun, 0});
        else if (c == L'?')
            tokens.push_back({Token::AnyOne, 0});
        else
            tokens.push_back({Token::Literal, c});
    }
    return tokens;
}

// The escaped matcher stands the text's '*' and '?' (and the escaped ones of
// the pattern) in for the codes 1 and 2, so those codes equal them.
wchar_t escapedClass(wchar_t c) {
    if (c == L'*')
        return 1;
    if (c == L'?')
        return 2;
    return c;
}

// The documented single-byte lower-casing: narrow characters (here their
// unsigned byte values) through the table; wide ones in 0..255 directly, in
// -128..-1 through the byte, others unchanged.
wchar_t lowerNarrow(wchar_t c) {
    return static_cast<wchar_t>(std::tolower(static_cast<int>(c)));
}

wchar_t lowerWide(wchar_t c) {
    if (c >= 0 && c <= 255)
        return static_cast<wchar_t>(std::tolower(static_cast<int>(c)));
    if (c >= -128 && c < 0)
        return static_cast<wchar_t>(static_cast<signed char>(
            std::tolower(static_cast<unsigned char>(static_cast<signed char>(c)))));
    return c;
}

std::wstring widenBytes(const std::string& text) {
    std::wstring wide;
    for (char c : text)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

// The reference reads each narrow character as its unsigned byte value.
wchar_t codeOf(char c) {
    return static_cast<wchar_t>(static_cast<unsigned char>(c));
}

wchar_t codeOf(wchar_t c) {
    return c;
}

template <typename CharT> std::vector<CharT> exactCopy(const std::basic_string<CharT>& text) {
    // An exact-size heap buffer, so that a read past the terminator is caught.
    return std::vector<CharT>(text.c_str(), text.c_str() + text.size() + 1);
}

void checkPlainNarrow(const std::string& pattern, const std::string& text) {
    std::vector<char> p = exactCopy(pattern);
    std::vector<char> t = exactCopy(text);
    bool actual = utils::matchWildcard(p.data(), t.data());
    std::string patternCopy = pattern;
    std::string textCopy = text;
    FUZZ_CHECK(utils::matchWildcard(patternCopy, textCopy) == actual);
    FUZZ_CHECK(patternCopy == pattern && textCopy == text);
    auto equal = [](wchar_t a, wchar_t b) { return a == b; };
    bool expected = referenceMatch(plainTokens(untilNul(widenBytes(pattern))),
                                   untilNul(widenBytes(text)), equal);
    FUZZ_CHECK(actual == expected);
    FUZZ_CHECK(!utils::matchWildcard<char>(nullptr, t.data()));
    FUZZ_CHECK(!utils::matchWildcard<char>(p.data(), nullptr));
}

void checkPlainWide(const std::wstring& pattern, const std::wstring& text) {
    std::vector<wchar_t> p = exactCopy(pattern);
    std::vector<wchar_t> t = exactCopy(text);
    bool actual = utils::matchWildcard(p.data(), t.data());
    auto equal = [](wchar_t a, wchar_t b) { return a == b; };
    bool expected = referenceMatch(plainTokens(untilNul(pattern)), untilNul(text), equal);
    FUZZ_CHECK(actual == expected);
}

void checkIgnoreCaseNarrow(const std::string& pattern, const std::string& text) {
    std::string p = pattern;
    std::string t = text;
    bool actual = utils::matchWildcard(p, t, true);
    auto equal = [](wchar_t a, wchar_t b) { return lowerNarrow(a) == lowerNarrow(b); };
    bool expected = referenceMatch(plainTokens(untilNul(widenBytes(pattern))),
                                   untilNul(widenBytes(text)), equal);
    FUZZ_CHECK(actual == expected);
    // Both arguments are left lowered, character by character.
    FUZZ_CHECK(p.size() == pattern.size() && t.size() == text.size());
    for (std::size_t i = 0; i < p.size(); ++i)
        FUZZ_CHECK(codeOf(p[i]) == lowerNarrow(codeOf(pattern[i])));
}

void checkIgnoreCaseWide(const std::wstring& pattern, const std::wstring& text) {
    std::wstring p = pattern;
    std::wstring t = text;
    bool actual = utils::matchWildcard(p, t, true);
    auto equal = [](wchar_t a, wchar_t b) { return lowerWide(a) == lowerWide(b); };
    bool expected = referenceMatch(plainTokens(untilNul(pattern)), untilNul(text), equal);
    FUZZ_CHECK(actual == expected);
    FUZZ_CHECK(p.size() == pattern.size() && t.size() == text.size());
    for (std::size_t i = 0; i < t.size(); ++i)
        FUZZ_CHECK(t[i] == lowerWide(text[i]));
}

template <typename CharT>
void checkEscaped(const std::basic_string<CharT>& pattern, const std::basic_string<CharT>& text,
                  const std::wstring& widePattern, const std::wstring& wideText) {
    std::basic_string<CharT> p = pattern;
    std::basic_string<CharT> t = text;
    bool actual = utils::matchWildcardEscapedSupport<CharT>(p, t);
    auto equal = [](wchar_t a, wchar_t b) { return escapedClass(a) == escapedClass(b); };
    bool expected = referenceMatch(escapedTokens(untilNul(widePattern)), untilNul(wideText), equal);
    FUZZ_CHECK(actual == expected);
    // The text is left with its wildcards replaced, one character for one.
    FUZZ_CHECK(t.size() == text.size());
    for (std::size_t i = 0; i < t.size(); ++i)
        FUZZ_CHECK(codeOf(t[i]) == escapedClass(codeOf(text[i])));
}

} // namespace

// Input: a mode byte, then the pattern up to the first 0xFF byte, then the text.
int fuzzWildcard(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    const std::uint8_t mode = input.byte();
    std::string pattern = input.until('\xFF').substr(0, kMaxPattern);
    std::string text = input.rest().substr(0, kMaxText);
    switch (mode % 6) {
    case 0:
        checkPlainNarrow(pattern, text);
        break;
    case 1:
        checkPlainWide(ByteReader::widen(pattern, false), ByteReader::widen(text, false));
        break;
    case 2:
        checkIgnoreCaseNarrow(pattern, text);
        break;
    case 3:
        checkIgnoreCaseWide(ByteReader::widen(pattern, false), ByteReader::widen(text, false));
        break;
    case 4:
        checkEscaped<char>(pattern, text, widenBytes(pattern), widenBytes(text));
        break;
    default: {
        std::wstring widePattern = ByteReader::widen(pattern, false);
        std::wstring wideText = ByteReader::widen(text, false);
        checkEscaped<wchar_t>(widePattern, wideText, widePattern, wideText);
        break;
    }
    }
    return 0;
}

} // namespace fuzzing
