// Fuzz target: the text helpers of the utils library, and the base library's
// linear text search, agree with plain reference versions on any input.
#include "ByteReader.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "TextChecks.h"

#include "base/String.h"
#include "utils/RegexMatch.h"
#include "utils/StringOps.h"
#include "utils/Trim.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace fuzzing {

namespace {

constexpr std::size_t kMaxText = 256;
constexpr std::size_t kMaxPattern = 24;
constexpr std::size_t kMaxRegexText = 64;

template <typename CharT> using Owned = std::unique_ptr<CharT, decltype(&std::free)>;

template <typename StringT>
std::vector<StringT> referenceSplit(const StringT& text, const StringT& delimiters) {
    std::vector<StringT> tokens(1);
    for (auto c : text)
        if (delimiters.find(c) == StringT::npos)
            tokens.back() += c;
        else if (!tokens.back().empty())
            tokens.emplace_back();
    if (tokens.back().empty())
        tokens.pop_back();
    return tokens;
}

template <typename StringT>
StringT referenceReplace(const StringT& text, const StringT& pattern, const StringT& replacement) {
    if (pattern.empty())
        return text;
    StringT out;
    for (std::size_t i = 0; i < text.size();)
        if (text.compare(i, pattern.size(), pattern) == 0)
            out += replacement, i += pattern.size();
        else
            out += text[i++];
    return out;
}

bool isClassSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool isClassSpace(wchar_t c) {
    return c >= 0 && c <= 255 && std::isspace(static_cast<int>(c)) != 0;
}

bool isFixedSpace(wchar_t c) {
    return c != 0 && std::wcschr(L"\t\n\v\f\r ", c) != nullptr;
}

// Trims by a predicate on either side.
template <typename StringT, typename Pred>
StringT referenceTrim(const StringT& text, bool left, bool right, Pred isWhite) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (right && last > 0 && isWhite(text[last - 1]))
        --last;
    while (left && first < last && isWhite(text[first]))
        ++first;
    return text.substr(first, last - first);
}

// The copying and buffer trims read up to the first NUL and trim what the
// locale's class table calls white space; the trims of standard strings take
// the whole string and a fixed set, and the right-hand one drops NULs too.
template <typename CharT> const char* checkTrims(const std::basic_string<CharT>& whole) {
    using StringT = std::basic_string<CharT>;
    const StringT text = whole.substr(0, whole.find(CharT(0)));
    const auto classSpace = [](CharT c) { return isClassSpace(c); };
    const auto fixed = [](CharT c) { return isFixedSpace(c); };
    const auto fixedOrNul = [](CharT c) { return c == CharT(0) || isFixedSpace(c); };
    const StringT expected[3][2] = {
        {referenceTrim(text, true, false, classSpace), referenceTrim(whole, true, false, fixed)},
        {referenceTrim(text, false, true, classSpace),
         referenceTrim(whole, false, true, fixedOrNul)},
        {referenceTrim(text, true, true, classSpace),
         referenceTrim(referenceTrim(whole, false, true, fixedOrNul), true, false, fixed)}};
    CharT* (*const copying[])(const CharT*) = {&utils::trimLeft, &utils::trimRight,
                                               &utils::trimBoth};
    void (*const inBuffer[])(CharT*) = {&utils::trimLeftInPlaceT<CharT*>,
                                        &utils::trimRightInPlaceT<CharT*>,
                                        &utils::trimBothInPlaceT<CharT*>};
    void (*const inString[])(StringT&) = {&utils::trimLeftInPlace, &utils::trimRightInPlace,
                                          &utils::trimBothInPlace};
    for (int i = 0; i < 3; ++i) {
        // An exact-size heap copy, so that a read past the terminator is caught.
        std::vector<CharT> buffer(text.c_str(), text.c_str() + text.size() + 1);
        const Owned<CharT> copy(copying[i](buffer.data()), &std::free);
        REFERENCE_CHECK(copy && StringT(copy.get()) == expected[i][0]);
        inBuffer[i](buffer.data());
        REFERENCE_CHECK(StringT(buffer.data()) == expected[i][0]);
        StringT trimmed = whole;
        inString[i](trimmed);
        REFERENCE_CHECK(trimmed == expected[i][1]);
        REFERENCE_CHECK(copying[i](nullptr) == nullptr);
        inBuffer[i](nullptr);
    }
    return nullptr;
}

template <typename StringT>
const char* checkReplace(const StringT& text, const StringT& pattern, const StringT& replacement) {
    StringT replaced = text;
    utils::replaceAllStrings(replaced, pattern, replacement);
    REFERENCE_CHECK(replaced == referenceReplace(text, pattern, replacement));
    return nullptr;
}

const char* checkRegex(const std::string& pattern, const std::string& text) {
    // glibc compiles every repetition by copying what it repeats, so stacked
    // or nested repetitions cost the product of their counts ("a" followed by
    // twenty "+" takes seconds and gigabytes). That is the engine's, not
    // matchString's: counted repetitions and more than ten others are left out.
    const std::string p = pattern.substr(0, pattern.find('\0'));
    if (p.find('{') != std::string::npos ||
        std::count_if(p.begin(), p.end(), [](char c) { return std::strchr("*+?", c); }) > 10)
        return nullptr;
    const std::string t = text.substr(0, text.find('\0'));
    std::string captured = "stale";
    const int status = utils::matchString(p.c_str(), t.c_str(), captured);
    REFERENCE_CHECK(status == utils::MATCH_STRING_MATCHED ||
                    status == utils::MATCH_STRING_NO_MATCH ||
                    status == utils::MATCH_STRING_BAD_PATTERN);
    // What was captured is a piece of the text, and only a match captures.
    REFERENCE_CHECK(status == utils::MATCH_STRING_MATCHED ? t.find(captured) != std::string::npos
                                                          : captured.empty());
    REFERENCE_CHECK(utils::matchString(p.c_str(), nullptr, captured) ==
                    (status == utils::MATCH_STRING_BAD_PATTERN ? utils::MATCH_STRING_BAD_PATTERN
                                                               : utils::MATCH_STRING_NO_MATCH));
    REFERENCE_CHECK(captured.empty());
    return nullptr;
}

// Argument lists: each argument followed by one space, null as empty.
template <typename StringT, typename CharT = typename StringT::value_type>
const char* checkArguments(const StringT& text, StringT (*print)(int, CharT**)) {
    std::vector<StringT> parts = referenceSplit(text, StringT(1, CharT(' ')));
    std::vector<CharT*> arguments;
    StringT joined;
    for (StringT& part : parts) {
        arguments.push_back(part.data());
        joined += part + CharT(' ');
    }
    arguments.push_back(nullptr);
    joined += CharT(' ');
    REFERENCE_CHECK(print(static_cast<int>(arguments.size()), arguments.data()) == joined);
    REFERENCE_CHECK(print(-1, arguments.data()).empty() && print(3, nullptr).empty());
    return nullptr;
}

const char* checkFormat(const std::string& text, long number) {
    const std::string t = text.substr(0, text.find('\0'));
    REFERENCE_CHECK(utils::formatString("%s", t.c_str()) == t);
    REFERENCE_CHECK(utils::formatString("%ld|%s|", number, t.c_str()) ==
                    std::to_string(number).append("|").append(t).append("|"));
    const int precision = static_cast<int>(static_cast<unsigned long>(number) % 300);
    REFERENCE_CHECK(utils::formatString("%.*s", precision, t.c_str()) ==
                    t.substr(0, static_cast<std::size_t>(precision)));

    if (const char* failed = checkArguments(t, &utils::printArgList))
        return failed;
    return checkArguments(ByteReader::widen(t, true), &utils::printWArgList);
}

// The linear search answers as the plain find and rfind, from every start, for
// the fragment and for it repeated (long fragments take the table).
const char* checkSearch(const std::string& text, const std::string& fragment, long number) {
    const std::wstring wideText = ByteReader::widen(text, false);
    const std::wstring once = ByteReader::widen(fragment, false);
    for (const std::wstring& searched : {once, std::wstring(once).append(once).append(once)}) {
        const TextSearch search(searched);
        const std::size_t n = wideText.size();
        for (std::size_t from :
             {std::size_t{0}, static_cast<std::size_t>(number) % (n + 2), n, TextSearch::npos}) {
            REFERENCE_CHECK(search.findIn(wideText, from) == wideText.find(searched, from));
            REFERENCE_CHECK(search.findLastIn(wideText, from) == wideText.rfind(searched, from));
        }
    }
    return nullptr;
}

} // namespace

const char* checkText(unsigned mode, long number, const std::string& first,
                      const std::string& second, const std::string& third) {
    switch (mode % 6) {
    case 0: {
        const std::wstring wide = ByteReader::widen(first, false);
        const Owned<wchar_t> copy(utils::wcsdup2(wide.c_str()), &std::free);
        REFERENCE_CHECK(copy && copy.get() == wide.substr(0, wide.find(L'\0')));
        REFERENCE_CHECK(utils::wcsdup2(nullptr) == nullptr);
        if (const char* failed = checkTrims(first))
            return failed;
        return checkTrims(wide);
    }
    case 1:
        REFERENCE_CHECK(utils::split(first, second) == referenceSplit(first, second));
        return nullptr;
    case 2:
        REFERENCE_CHECK(utils::startsWith(first, second) ==
                        (first.substr(0, second.size()) == second));
        REFERENCE_CHECK(utils::endsWith(first, second) ==
                        (second.size() <= first.size() &&
                         first.substr(first.size() - second.size()) == second));
        if (const char* failed = checkReplace(first, second, third))
            return failed;
        return checkReplace(ByteReader::widen(first, false), ByteReader::widen(second, false),
                            ByteReader::widen(third, false));
    case 3:
        // Short texts: backtracking in the regular expression engine grows
        // fast with the text, and the engine is not what is checked here.
        return checkRegex(second, first.substr(0, kMaxRegexText));
    case 4:
        return checkFormat(first, number);
    default:
        return checkSearch(first, second, number);
    }
}

// Input: a mode byte, a number, then texts separated by 0xFF bytes.
int fuzzText(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    const std::uint8_t mode = input.byte();
    const long number = static_cast<long>(input.u64());
    const std::string first = input.until('\xFF').substr(0, kMaxText);
    const std::string second = input.until('\xFF').substr(0, kMaxPattern);
    const std::string third = input.rest().substr(0, kMaxText);
    FUZZ_CHECK(holds(checkText(mode, number, first, second, third)));
    return 0;
}

} // namespace fuzzing
