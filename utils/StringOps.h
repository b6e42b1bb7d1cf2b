// Replacing, affix tests, splitting, formatting and joining of texts.
#pragma once

#include "utils/Export.h"

#include <string>
#include <vector>

namespace utils {

// Replaces every occurrence of `pattern` in `text`, left to right; the search
// resumes after the inserted replacement, so inserted text is never searched
// again. An empty pattern leaves the text unchanged.
UTILS_API void replaceAllStrings(std::string& text, const std::string& pattern,
                                 const std::string& replacement);
UTILS_API void replaceAllStrings(std::wstring& text, const std::wstring& pattern,
                                 const std::wstring& replacement);

// Whether `text` begins (ends) with `affix`; false when the affix is longer.
UTILS_API bool startsWith(const std::string& text, const std::string& affix);
UTILS_API bool endsWith(const std::string& text, const std::string& affix);

// The maximal runs of characters not in `delimiters`; runs of delimiters
// collapse and no token is empty.
UTILS_API std::vector<std::string> split(const std::string& text, std::string delimiters);

// printf-style formatting into a string; the empty string when formatting
// fails (an encoding error).
UTILS_API std::string formatString(const std::string& format, ...);

// The first `count` arguments, each followed by one space; empty for a count
// below 1 or a null array. A null argument counts as the empty text.
UTILS_API std::string printArgList(int count, char** arguments);
UTILS_API std::wstring printWArgList(int count, wchar_t** arguments);

} // namespace utils
