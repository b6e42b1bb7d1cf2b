// The two texts that are truth values; nothing else is one.
#pragma once

#include <cwchar>

namespace PluginKit {

inline constexpr const wchar_t* kTrue = L"true";
inline constexpr const wchar_t* kFalse = L"false";

// Both, as the value set of a truth-valued property.
inline constexpr const wchar_t* kTruthTexts[] = {kTrue, kFalse};

// Exact, case-sensitive tests; a null text is neither.
inline bool isTrueText(const wchar_t* text) {
    return text && std::wcscmp(text, kTrue) == 0;
}
inline bool isFalseText(const wchar_t* text) {
    return text && std::wcscmp(text, kFalse) == 0;
}
inline bool isTruthValue(const wchar_t* text) {
    return isTrueText(text) || isFalseText(text);
}

} // namespace PluginKit
