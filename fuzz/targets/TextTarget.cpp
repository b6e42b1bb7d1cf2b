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

std::vector<std::string> referenceSplit(const std::string& text, const std::string& delimiters) {
    std::vector<std::string> tokens(1);
    for (char c : text)
        if (delimiters.find(c) == std::string::npos)
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
StringT referenceTrim(StringT text, bool left, bool right, Pred isWhite) {
    if (right)
        while (!text.empty() && isWhite(text.back()))
            text.pop_back();
    if (left) {
        std::size_t first = 0;
        while (first < text.size() && isWhite(text[first]))
            ++first;
        text.erase(0, first);
    }
    return text;
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

// glibc compiles every repetition by copying what it repeats, so stacked or
// nested repetitions cost the product of their counts ("a" followed by twenty
// "+" takes seconds and gigabytes). That is the engine's, not matchString's:
// patterns whose repetitions could multiply beyond a few thousand copies are
// left out.
bool repetitionsBounded(const std::string& pattern) {
    unsigned long copies = 1;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        unsigned long factor = 1;
        if (c == '*' || c == '+' || c == '?') {
            factor = 2;
        } else if (c == '{') {
            unsigned long largest = 0;
            unsigned long number = 0;
            for (++i; i < pattern.size() && pattern[i] != '}'; ++i) {
                if (pattern[i] >= '0' && pattern[i] <= '9')
                    number = std::min(number * 10 + unsigned(pattern[i] - '0'), 100000UL);
                else
                    number = 0;
                largest = std::max(largest, number);
            }
            factor = largest + 1;
        }
        copies *= factor;
        if (copies > 4096)
            return false;
    }
    return true;
}

const char* checkRegex(const std::string& pattern, const std::string& text) {
    const std::string p = pattern.substr(0, pattern.find('\0'));
    if (!repetitionsBounded(p))
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

const char* checkFormat(const std::string& text, long number) {
    const std::string t = text.substr(0, text.find('\0'));
    REFERENCE_CHECK(utils::formatString("%s", t.c_str()) == t);
    REFERENCE_CHECK(utils::formatString("%ld|%s|", number, t.c_str()) ==
                    std::to_string(number) + "|" + t + "|");
    const int precision = static_cast<int>(static_cast<unsigned long>(number) % 300);
    REFERENCE_CHECK(utils::formatString("%.*s", precision, t.c_str()) ==
                    t.substr(0, static_cast<std::size_t>(precision)));
    const std::string padded = utils::formatString("%40s", t.c_str());
    REFERENCE_CHECK(padded.size() == (t.size() < 40 ? 40 : t.size()));
    REFERENCE_CHECK(padded.compare(padded.size() - t.size(), t.size(), t) == 0);
    // Wide text formats when every character is ASCII and fails (empty) or
    // succeeds otherwise, but never crashes.
    const std::wstring wide = ByteReader::widen(t, true);
    const std::string fromWide = utils::formatString("%ls", wide.c_str());
    if (std::all_of(wide.begin(), wide.end(), [](wchar_t c) { return c >= 0 && c < 0x80; }))
        REFERENCE_CHECK(fromWide == std::string(wide.begin(), wide.end()));

    // Argument lists: each argument followed by one space, null as empty.
    std::vector<std::string> parts = referenceSplit(t, " ");
    std::vector<char*> arguments;
    std::string joined;
    for (std::string& part : parts) {
        arguments.push_back(part.data());
        joined += part + " ";
    }
    arguments.push_back(nullptr);
    joined += " ";
    REFERENCE_CHECK(utils::printArgList(static_cast<int>(arguments.size()), arguments.data()) ==
                    joined);
    REFERENCE_CHECK(utils::printArgList(-1, arguments.data()).empty());
    REFERENCE_CHECK(utils::printArgList(3, nullptr).empty());
    return nullptr;
}

// The linear search answers as the plain find and rfind, from every start, for
// the fragment and for it repeated (long fragments take the table).
const char* checkSearch(const std::string& text, const std::string& fragment, long number) {
    const std::wstring wideText = ByteReader::widen(text, false);
    const std::wstring once = ByteReader::widen(fragment, false);
    for (const std::wstring& searched : {once, once + once + once}) {
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
    case 0:
        if (const char* failed = checkTrims(first))
            return failed;
        return checkTrims(ByteReader::widen(first, false));
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
