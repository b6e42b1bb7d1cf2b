// Wildcard matching and lower-casing.
#include "utils/Wildcard.h"

#include <cctype>

namespace utils {

template <typename CharT> bool matchWildcard(const CharT* pattern, const CharT* text) {
    if (!pattern || !text)
        return false;
    const CharT* p = pattern;
    const CharT* t = text;
    // Backtrack point: the pattern just after the latest run of stars, and the
    // text position that run currently stops at. Retrying only the latest star
    // is enough: any earlier star can absorb what a later one would.
    const CharT* starPattern = nullptr;
    const CharT* starText = nullptr;
    while (*t) {
        if (*p == CharT('*')) {
            while (*p == CharT('*'))
                ++p;
            if (!*p)
                return true;
            starPattern = p;
            starText = t;
            continue;
        }
        if (*p && (*p == CharT('?') || *p == *t)) {
            ++p;
            ++t;
            continue;
        }
        if (!starPattern)
            return false;
        p = starPattern;
        t = ++starText;
    }
    while (*p == CharT('*'))
        ++p;
    return !*p;
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
