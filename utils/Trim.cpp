// Trimming of white space.
#include "utils/Trim.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace utils {

namespace {

// White space by the locale's single-byte class table. Wide characters outside
// the table's range are never white space and never index it.
bool isClassSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool isClassSpace(wchar_t c) {
    return c >= 0 && c <= 255 && std::isspace(static_cast<int>(c)) != 0;
}

std::size_t textLength(const char* text) {
    return std::strlen(text);
}

std::size_t textLength(const wchar_t* text) {
    return std::wcslen(text);
}

// malloc'ed copy of the first `length` characters, terminated.
template <typename CharT> CharT* duplicate(const CharT* text, std::size_t length) {
    auto* copy = static_cast<CharT*>(std::malloc((length + 1) * sizeof(CharT)));
    if (!copy)
        return nullptr;
    std::memcpy(copy, text, length * sizeof(CharT));
    copy[length] = CharT(0);
    return copy;
}

template <typename CharT> CharT* trimLeftCopy(const CharT* text) {
    if (!text)
        return nullptr;
    while (*text && isClassSpace(*text))
        ++text;
    return duplicate(text, textLength(text));
}

template <typename CharT> CharT* trimRightCopy(const CharT* text) {
    if (!text)
        return nullptr;
    std::size_t length = textLength(text);
    CharT* copy = duplicate(text, length);
    if (!copy)
        return nullptr;
    while (length > 0 && isClassSpace(copy[length - 1]))
        --length;
    copy[length] = CharT(0);
    return copy;
}

template <typename CharT> CharT* trimBothCopy(const CharT* text) {
    CharT* left = trimLeftCopy(text);
    CharT* both = trimRightCopy(left);
    std::free(left);
    return both;
}

// The fixed white-space set; the right-hand trim adds NUL at its front.
template <typename StringT> StringT whiteSet(bool withNul) {
    using CharT = typename StringT::value_type;
    static const CharT kSet[] = {CharT(0),    CharT('\t'), CharT('\n'), CharT('\v'),
                                 CharT('\f'), CharT('\r'), CharT(' ')};
    return withNul ? StringT(kSet, 7) : StringT(kSet + 1, 6);
}

template <typename StringT> void trimLeftString(StringT& text) {
    std::size_t first = text.find_first_not_of(whiteSet<StringT>(false));
    if (first == StringT::npos)
        text.clear();
    else
        text.erase(0, first);
}

template <typename StringT> void trimRightString(StringT& text) {
    std::size_t last = text.find_last_not_of(whiteSet<StringT>(true));
    if (last == StringT::npos)
        text.clear();
    else
        text.erase(last + 1);
}

} // namespace

char* trimLeft(const char* text) {
    return trimLeftCopy(text);
}

wchar_t* trimLeft(const wchar_t* text) {
    return trimLeftCopy(text);
}

char* trimRight(const char* text) {
    return trimRightCopy(text);
}

wchar_t* trimRight(const wchar_t* text) {
    return trimRightCopy(text);
}

char* trimBoth(const char* text) {
    return trimBothCopy(text);
}

wchar_t* trimBoth(const wchar_t* text) {
    return trimBothCopy(text);
}

wchar_t* wcsdup2(const wchar_t* text) {
    return text ? duplicate(text, std::wcslen(text)) : nullptr;
}

void trimLeftInPlace(std::string& text) {
    trimLeftString(text);
}

void trimLeftInPlace(std::wstring& text) {
    trimLeftString(text);
}

void trimRightInPlace(std::string& text) {
    trimRightString(text);
}

void trimRightInPlace(std::wstring& text) {
    trimRightString(text);
}

void trimBothInPlace(std::string& text) {
    trimRightString(text);
    trimLeftString(text);
}

void trimBothInPlace(std::wstring& text) {
    trimRightString(text);
    trimLeftString(text);
}

template <typename Buffer> void trimLeftInPlaceT(Buffer text) {
    if (!text || !*text || !isClassSpace(*text))
        return;
    Buffer rest = text;
    while (*rest && isClassSpace(*rest))
        ++rest;
    // Move the rest down, terminator included (the whole buffer was white
    // space when the rest is empty: only the terminator moves).
    std::size_t length = textLength(rest);
    std::memmove(text, rest, (length + 1) * sizeof *text);
}

template <typename Buffer> void trimRightInPlaceT(Buffer text) {
    if (!text || !*text)
        return;
    std::size_t length = textLength(text);
    while (length > 0 && isClassSpace(text[length - 1]))
        text[--length] = 0;
}

template <typename Buffer> void trimBothInPlaceT(Buffer text) {
    trimLeftInPlaceT(text);
    trimRightInPlaceT(text);
}

template UTILS_API void trimLeftInPlaceT<char*>(char*);
template UTILS_API void trimLeftInPlaceT<wchar_t*>(wchar_t*);
template UTILS_API void trimRightInPlaceT<char*>(char*);
template UTILS_API void trimRightInPlaceT<wchar_t*>(wchar_t*);
template UTILS_API void trimBothInPlaceT<char*>(char*);
template UTILS_API void trimBothInPlaceT<wchar_t*>(wchar_t*);

} // namespace utils
