// Wide-text helpers of the base library. Every text they return is allocated
// with the C allocator and owned by the caller, who releases it with brel_free.
// When that allocation fails they throw std::bad_alloc: null never stands for
// a failed allocation, only for what each function documents.
#pragma once

#include "base/Export.h"

#include <cwchar>

extern "C++" {

// UTF-8 copy of a wide text. Returns null for a null text and for a text that
// holds a character with no UTF-8 form (a surrogate or a value beyond U+10FFFF):
// callers that need an exact narrow form, such as a path, must not get a lossy one.
BASE_API char* i_wcstombs(const wchar_t* text);

// Wide text formatted from a narrow printf format (the result is read as UTF-8).
BASE_API wchar_t* i_wsprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Decimal text of a signed long.
BASE_API wchar_t* i_ltowcs(long value);

// Copy of a wide text; null for null.
BASE_API wchar_t* i_wcsdup(const wchar_t* text);

// Splits a writable text in place, as the standard wcstok does.
BASE_API wchar_t* i_wcstok(wchar_t* text, const wchar_t* delimiters, wchar_t** state);

// Decimal signed long at the start of a text (leading blanks and one sign
// allowed, reading stops at the first other character); 0 when the text holds
// no number or is null. Values beyond the range of a long saturate.
BASE_API long i_wcstol(const wchar_t* text);

// Releases a text returned by any of the functions above; null is ignored.
BASE_API void brel_free(void* text);
}
