// UTF-8 conversion between wide (UTF-32) and narrow text, the one encoding the
// platform libraries use for every narrow text whatever the process locale.
#pragma once

#include "base/Export.h"

#include <cstddef>
#include <string>

namespace base {

// The replacement character written for anything that cannot be converted.
constexpr wchar_t kReplacementCharacter = 0xFFFD;

// Whether a wide character is a Unicode scalar value (encodable in UTF-8).
constexpr bool isScalarValue(wchar_t c) {
    auto u = static_cast<unsigned long>(static_cast<unsigned int>(c));
    return u < 0xD800 || (u > 0xDFFF && u <= 0x10FFFF);
}

// Appends the UTF-8 form of `length` wide characters to `out`. A character
// that is not a scalar value becomes U+FFFD when `replaceInvalid` is true;
// otherwise the conversion stops and returns false (`out` then holds the
// characters converted so far).
BASE_API bool encodeUtf8(const wchar_t* text, std::size_t length, std::string& out,
                         bool replaceInvalid);

// Appends the wide form of `length` UTF-8 bytes to `out`. Invalid or truncated
// sequences, overlong forms and encoded surrogates each decode to U+FFFD.
BASE_API void decodeUtf8(const char* text, std::size_t length, std::wstring& out);

} // namespace base
