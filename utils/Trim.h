// Trimming of white space: copying trims of C strings, in-place trims of
// standard strings and of raw NUL-terminated buffers.
#pragma once

#include "utils/Export.h"

#include <string>

namespace utils {

// Copying trims. The result is allocated with malloc and owned by the caller,
// who releases it with free; null for a null argument (or when memory runs
// out). White space is the locale's isspace class; a wide character outside
// 0..255 is never white space.
UTILS_API char* trimLeft(const char* text);
UTILS_API wchar_t* trimLeft(const wchar_t* text);
UTILS_API char* trimRight(const char* text);
UTILS_API wchar_t* trimRight(const wchar_t* text);
UTILS_API char* trimBoth(const char* text);
UTILS_API wchar_t* trimBoth(const wchar_t* text);

// malloc'ed copy of a wide text, terminator included; null for null.
UTILS_API wchar_t* wcsdup2(const wchar_t* text);

// In-place trims of standard strings over the fixed set tab, line feed,
// vertical tab, form feed, carriage return and space. The right-hand trim also
// removes trailing NUL characters; the left-hand one keeps leading NULs.
UTILS_API void trimLeftInPlace(std::string& text);
UTILS_API void trimLeftInPlace(std::wstring& text);
UTILS_API void trimRightInPlace(std::string& text);
UTILS_API void trimRightInPlace(std::wstring& text);
// Right-hand trim first, then left-hand trim.
UTILS_API void trimBothInPlace(std::string& text);
UTILS_API void trimBothInPlace(std::wstring& text);

// In-place trims of writable NUL-terminated buffers (char* or wchar_t*), with
// the white space of the copying trims. Left moves the text down over its
// leading white space; right overwrites trailing white space with NULs; both
// does left, then right. A null buffer is left alone.
template <typename Buffer> UTILS_API void trimLeftInPlaceT(Buffer text);
template <typename Buffer> UTILS_API void trimRightInPlaceT(Buffer text);
template <typename Buffer> UTILS_API void trimBothInPlaceT(Buffer text);
extern template UTILS_API void trimLeftInPlaceT<char*>(char*);
extern template UTILS_API void trimLeftInPlaceT<wchar_t*>(wchar_t*);
extern template UTILS_API void trimRightInPlaceT<char*>(char*);
extern template UTILS_API void trimRightInPlaceT<wchar_t*>(wchar_t*);
extern template UTILS_API void trimBothInPlaceT<char*>(char*);
extern template UTILS_API void trimBothInPlaceT<wchar_t*>(wchar_t*);

} // namespace utils
