// Wide-text helpers of the base library.
#include "base/WideText.h"

#include "base/Utf8.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>
#include <string>

namespace {

// A malloc'ed copy. Running out of memory throws std::bad_alloc rather than
// answering null, which callers read as "no text" (an empty digest, a missing
// path, a version of zeros): a failed allocation can then only end as a failure.
template <typename Char> Char* duplicate(const Char* data, std::size_t length) {
    auto* copy = static_cast<Char*>(std::malloc((length + 1) * sizeof(Char)));
    if (!copy)
        throw std::bad_alloc();
    std::memcpy(copy, data, length * sizeof(Char));
    copy[length] = Char(0);
    return copy;
}

} // namespace

char* i_wcstombs(const wchar_t* text) {
    if (!text)
        return nullptr;
    std::string narrow;
    if (!base::encodeUtf8(text, std::wcslen(text), narrow, false))
        return nullptr;
    return duplicate(narrow.data(), narrow.size());
}

wchar_t* i_wsprintf(const char* format, ...) {
    if (!format)
        return nullptr;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string narrow;
    if (length > 0) {
        narrow.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(narrow.data(), narrow.size(), format, args);
        narrow.resize(static_cast<std::size_t>(length));
    }
    va_end(args);
    std::wstring wide;
    base::decodeUtf8(narrow.data(), narrow.size(), wide);
    return duplicate(wide.data(), wide.size());
}

wchar_t* i_ltowcs(long value) {
    wchar_t buffer[24];
    int length = std::swprintf(buffer, sizeof buffer / sizeof buffer[0], L"%ld", value);
    return duplicate(buffer, static_cast<std::size_t>(length));
}

wchar_t* i_wcsdup(const wchar_t* text) {
    return text ? duplicate(text, std::wcslen(text)) : nullptr;
}

wchar_t* i_wcstok(wchar_t* text, const wchar_t* delimiters, wchar_t** state) {
    return std::wcstok(text, delimiters, state);
}

long i_wcstol(const wchar_t* text) {
    return text ? std::wcstol(text, nullptr, 10) : 0;
}

void brel_free(void* text) {
    std::free(text);
}
