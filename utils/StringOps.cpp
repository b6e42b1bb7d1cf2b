// Replacing, affix tests, splitting, formatting and joining of texts.
#include "utils/StringOps.h"

#include <cstdarg>
#include <cstdio>

namespace utils {

namespace {

template <typename StringT>
void replaceAll(StringT& text, const StringT& pattern, const StringT& replacement) {
    if (pattern.empty())
        return;
    std::size_t position = text.find(pattern);
    while (position != StringT::npos) {
        text.replace(position, pattern.size(), replacement);
        position = text.find(pattern, position + replacement.size());
    }
}

template <typename StringT, typename CharT> StringT joinArguments(int count, CharT** arguments) {
    StringT joined;
    if (count < 1 || !arguments)
        return joined;
    for (int i = 0; i < count; ++i) {
        if (arguments[i])
            joined += arguments[i];
        joined += CharT(' ');
    }
    return joined;
}

} // namespace

void replaceAllStrings(std::string& text, const std::string& pattern,
                       const std::string& replacement) {
    replaceAll(text, pattern, replacement);
}

void replaceAllStrings(std::wstring& text, const std::wstring& pattern,
                       const std::wstring& replacement) {
    replaceAll(text, pattern, replacement);
}

bool startsWith(const std::string& text, const std::string& affix) {
    return affix.size() <= text.size() && text.compare(0, affix.size(), affix) == 0;
}

bool endsWith(const std::string& text, const std::string& affix) {
    return affix.size() <= text.size() &&
           text.compare(text.size() - affix.size(), affix.size(), affix) == 0;
}

// The delimiter set is taken by value: that is the exported signature.
std::vector<std::string>
split(const std::string& text,
      std::string delimiters) { // NOLINT(performance-unnecessary-value-param)
    std::vector<std::string> tokens;
    std::size_t start = text.find_first_not_of(delimiters);
    while (start != std::string::npos) {
        std::size_t end = text.find_first_of(delimiters, start);
        if (end == std::string::npos) {
            tokens.push_back(text.substr(start));
            break;
        }
        tokens.push_back(text.substr(start, end - start));
        start = text.find_first_not_of(delimiters, end);
    }
    return tokens;
}

// The format is taken by reference, as the exported signature has always been.
// va_start on a reference parameter is not covered by the C++ standard, but
// on the System V ABIs this library is built for va_start never reads the
// named parameter's storage, so it works with gcc and clang alike.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wvarargs"
#endif
std::string formatString(const std::string& format, ...) {
    va_list args;
    va_start(args, format);
    va_list measureArgs;
    va_copy(measureArgs, args);
    int length = std::vsnprintf(nullptr, 0, format.c_str(), measureArgs);
    va_end(measureArgs);
    std::string result;
    if (length > 0) {
        auto size = static_cast<std::size_t>(length);
        std::vector<char> scratch(size + 1);
        if (std::vsnprintf(scratch.data(), scratch.size(), format.c_str(), args) == length)
            result.assign(scratch.data(), size);
    }
    va_end(args);
    return result;
}
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

std::string printArgList(int count, char** arguments) {
    return joinArguments<std::string>(count, arguments);
}

std::wstring printWArgList(int count, wchar_t** arguments) {
    return joinArguments<std::wstring>(count, arguments);
}

} // namespace utils
