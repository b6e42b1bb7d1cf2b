// Wildcard matching and lower-casing.
#include "utils/Wildcard.h"

#include <cctype>
#include <cstring>
#include <cwchar>

namespace utils {

namespace {

// The first occurrence of `c` (not NUL) at or after `s`, or null when the text
// ends first; the C library's vectorised scans.
inline const char* findChar(const char* s, char c) {
    return std::strchr(s, c);
}
inline const wchar_t* findChar(const wchar_t* s, wchar_t c) {
    return std::wcschr(s, c);
}

inline std::size_t textLength(const char* s) {
    return std::strlen(s);
}
inline std::size_t textLength(const wchar_t* s) {
    return std::wcslen(s);
}

// True when the star-free `segment` of `length` characters matches the last
// `length` characters of `text`.
template <typename CharT>
bool matchesAtEnd(const CharT* segment, std::size_t length, const CharT* text) {
    const std::size_t available = textLength(text);
    if (available < length)
        return false;
    const CharT* tail = text + (available - length);
    for (std::size_t i = 0; i < length; ++i)
        if (segment[i] != CharT('?') && segment[i] != tail[i])
            return false;
    return true;
}

// The leftmost position at or after `text` where the star-free `segment` of
// `length` (at least 1) characters matches, or null. Reads nothing past the
// text's NUL: a NUL differs from every segment character and "?" refuses it.
template <typename CharT>
const CharT* findSegment(const CharT* segment, std::size_t length, const CharT* text) {
    const CharT first = segment[0];
    for (const CharT* t = text;; ++t) {
        if (!*t)
            return nullptr;
        // Only after a mismatch on the first character, skip to its next
        // occurrence: runs of equal characters cost no call.
        if (first != CharT('?') && *t != first) {
            t = findChar(t + 1, first);
            if (!t)
                return nullptr;
        }
        std::size_t i = 1;
        while (i < length && (segment[i] == t[i] || (segment[i] == CharT('?') && t[i])))
            ++i;
        if (i == length)
            return t;
        // The text ended inside the attempt: every later start ends sooner.
        if (!t[i])
            return nullptr;
    }
}

} // namespace

// The pattern is a run of segments without stars, separated by runs of stars:
// S0 * S1 * ... * Sk. The text matches exactly when S0 matches its start, Sk
// its end, and S1 to Sk-1 can be placed in order in between without overlap.
// Placing each middle segment at its leftmost match leaves the most text for
// the rest, so one forward pass decides: at most (text x pattern) character
// comparisons, no backtracking beyond the current segment.
template <typename CharT> bool matchWildcard(const CharT* pattern, const CharT* text) {
    if (!pattern || !text)
        return false;
    const CharT* p = pattern;
    const CharT* t = text;
    for (; *p && *p != CharT('*'); ++p, ++t)
        if (!*t || (*p != *t && *p != CharT('?')))
            return false;
    if (!*p)
        return !*t;
    for (;;) {
        while (*p == CharT('*'))
            ++p;
        if (!*p)
            return true;
        std::size_t length = 0;
        while (p[length] && p[length] != CharT('*'))
            ++length;
        if (!p[length])
            return matchesAtEnd(p, length, t);
        t = findSegment(p, length, t);
        if (!t)
            return false;
        p += length;
        t += length;
    }
}

template UTILS_API bool matchWildcard<char>(const char*, const char*);
template UTILS_API bool matchWildcard<wchar_t>(const wchar_t*, const wchar_t*);

bool matchWildcard(std::string& pattern, std::string& text) {
    return matchWildcard(pattern.c_str(), text.c_str());
}

bool matchWildcard(std::wstring& pattern, std::wstring& text) {
    return matchWildcard(pattern.c_str(), text.c_str());
}

bool matchWildcard(std::string& pattern, std::string& text, bool ignoreCase) {
    if (ignoreCase) {
        stringToLower(pattern);
        stringToLower(text);
    }
    return matchWildcard(pattern, text);
}

bool matchWildcard(std::wstring& pattern, std::wstring& text, bool ignoreCase) {
    if (ignoreCase) {
        stringToLower(pattern);
        stringToLower(text);
    }
    return matchWildcard(pattern, text);
}

template <> bool matchWildcard<std::string>(std::string& pattern, std::string& text) {
    return matchWildcard(pattern.c_str(), text.c_str());
}

template <> bool matchWildcard<std::wstring>(std::wstring& pattern, std::wstring& text) {
    return matchWildcard(pattern.c_str(), text.c_str());
}

template <>
bool matchWildcard<std::string>(std::string& pattern, std::string& text, bool ignoreCase) {
    return matchWildcard(pattern, text, ignoreCase);
}

template <>
bool matchWildcard<std::wstring>(std::wstring& pattern, std::wstring& text, bool ignoreCase) {
    return matchWildcard(pattern, text, ignoreCase);
}

void stringToLower(std::string& text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

void stringToLower(std::wstring& text) {
    for (wchar_t& c : text) {
        if (c >= 0 && c <= 255)
            c = static_cast<wchar_t>(std::tolower(static_cast<int>(c)));
        else if (c >= -128 && c < 0)
            // The single-byte table also covers signed char values; map through
            // the byte so that no negative value reaches tolower.
            c = static_cast<wchar_t>(static_cast<signed char>(
                std::tolower(static_cast<unsigned char>(static_cast<signed char>(c)))));
    }
}

} // namespace utils
