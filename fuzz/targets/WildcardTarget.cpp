// Fuzz target: every form of the wildcard matcher agrees with a plain
// reference matcher.
#include "ByteReader.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "TextChecks.h"

#include "utils/Wildcard.h"
#include "utils/WildcardEscaped.h"

#include <cctype>
#include <functional>
#include <string>
#include <vector>

namespace fuzzing {

namespace {

constexpr std::size_t kMaxPattern = 48;
constexpr std::size_t kMaxText = 160;

bool isEscape(const std::wstring& pattern, std::size_t i) {
    return pattern[i] == L'\\' && i + 1 < pattern.size() &&
           (pattern[i + 1] == L'*' || pattern[i + 1] == L'?');
}

// The rule as written: '*' takes any run of characters, '?' any one, every
// other character one that `same` calls equal; with `escapes`, "\*" and "\?"
// are a literal '*' and '?'. Memoised over (pattern element, text position).
template <typename Same>
bool referenceMatch(const std::wstring& pattern, const std::wstring& text, Same same,
                    bool escapes) {
    std::vector<std::pair<wchar_t, bool>> elements; // character, is a wildcard
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool escaped = escapes && isEscape(pattern, i);
        i += escaped ? 1 : 0;
        elements.emplace_back(pattern[i], !escaped && (pattern[i] == L'*' || pattern[i] == L'?'));
    }
    const std::size_t n = text.size();
    std::vector<int> known((elements.size() + 1) * (n + 1), -1);
    std::function<bool(std::size_t, std::size_t)> match = [&](std::size_t i, std::size_t j) {
        int& answer = known[i * (n + 1) + j];
        if (answer < 0) {
            if (i == elements.size())
                answer = j == n;
            else if (elements[i] == std::make_pair(L'*', true))
                answer = match(i + 1, j) || (j < n && match(i, j + 1));
            else
                answer = j < n && (elements[i].second || same(elements[i].first, text[j])) &&
                         match(i + 1, j + 1);
        }
        return answer != 0;
    };
    return match(0, 0);
}

// Characters as the reference reads them: narrow ones by their byte value.
std::wstring codes(const std::string& text) {
    std::wstring wide;
    for (char c : text)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}
std::wstring codes(const std::wstring& text) {
    return text;
}

std::wstring untilNul(const std::wstring& text) {
    return text.substr(0, text.find(L'\0'));
}

// The documented lower-casing: values 0 to 255 through the locale's single-byte
// table, -128 to -1 through the byte they stand for, others unchanged.
wchar_t lower(wchar_t c) {
    if (c < -128 || c > 255)
        return c;
    const int lowered = std::tolower(static_cast<unsigned char>(c));
    return c < 0 ? static_cast<signed char>(lowered) : lowered;
}

// The escaped matcher stands code 1 for the text's '*' and the pattern's "\*",
// and code 2 for '?' and "\?", so those codes equal them.
wchar_t escapedClass(wchar_t c) {
    return c == L'*' ? 1 : c == L'?' ? 2 : c;
}

template <typename StringT>
const char* checkForms(unsigned kind, const StringT& pattern, const StringT& text) {
    using CharT = typename StringT::value_type;
    const std::wstring p = untilNul(codes(pattern));
    const std::wstring t = untilNul(codes(text));
    StringT patternCopy = pattern;
    StringT textCopy = text;
    if (kind == 0) {
        // Exact-size heap copies, so that a read past either terminator is caught.
        std::vector<CharT> pb(pattern.c_str(), pattern.c_str() + pattern.size() + 1);
        std::vector<CharT> tb(text.c_str(), text.c_str() + text.size() + 1);
        const bool actual = utils::matchWildcard(pb.data(), tb.data());
        REFERENCE_CHECK(actual == referenceMatch(p, t, std::equal_to<wchar_t>(), false));
        REFERENCE_CHECK(utils::matchWildcard(patternCopy, textCopy) == actual);
        REFERENCE_CHECK(utils::matchWildcard(patternCopy, textCopy, false) == actual);
        REFERENCE_CHECK(patternCopy == pattern && textCopy == text);
        REFERENCE_CHECK(!utils::matchWildcard<CharT>(nullptr, tb.data()) &&
                        !utils::matchWildcard<CharT>(pb.data(), nullptr));
        return nullptr;
    }
    std::wstring expectedPattern;
    std::wstring expectedText;
    if (kind == 1) {
        const auto same = [](wchar_t a, wchar_t b) { return lower(a) == lower(b); };
        REFERENCE_CHECK(utils::matchWildcard(patternCopy, textCopy, true) ==
                        referenceMatch(p, t, same, false));
        // Both arguments are left lowered, character by character.
        for (wchar_t c : codes(pattern))
            expectedPattern += lower(c);
        for (wchar_t c : codes(text))
            expectedText += lower(c);
    } else {
        const auto same = [](wchar_t a, wchar_t b) { return escapedClass(a) == escapedClass(b); };
        REFERENCE_CHECK(utils::matchWildcardEscapedSupport<CharT>(patternCopy, textCopy) ==
                        referenceMatch(p, t, same, true));
        // Both are left replaced: the text's wildcards and the pattern's escaped ones.
        const std::wstring all = codes(pattern);
        for (std::size_t i = 0; i < all.size(); ++i)
            expectedPattern += isEscape(all, i) ? escapedClass(all[++i]) : all[i];
        for (wchar_t c : codes(text))
            expectedText += escapedClass(c);
    }
    REFERENCE_CHECK(codes(patternCopy) == expectedPattern);
    REFERENCE_CHECK(codes(textCopy) == expectedText);
    return nullptr;
}

} // namespace

const char* checkWildcard(unsigned mode, const std::string& pattern, const std::string& text) {
    if (mode % 2 == 0)
        return checkForms(mode % 6 / 2, pattern, text);
    return checkForms(mode % 6 / 2, ByteReader::widen(pattern, false),
                      ByteReader::widen(text, false));
}

// Input: a mode byte, then the pattern up to the first 0xFF byte, then the text.
int fuzzWildcard(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    const std::uint8_t mode = input.byte();
    const std::string pattern = input.until('\xFF').substr(0, kMaxPattern);
    const std::string text = input.rest().substr(0, kMaxText);
    FUZZ_CHECK(holds(checkWildcard(mode, pattern, text)));
    return 0;
}

} // namespace fuzzing
