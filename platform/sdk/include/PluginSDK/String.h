// The host's wide string, in which scalar results travel.
#pragma once

#include "PluginSDK/Types.h"
#include "base/WideText.h" // brel_free, which releases getMultibyteString's texts

#include <string>

namespace PluginSDK {

// Texts are ordered by code point, element by element, a text before its own
// extensions. Narrow texts are UTF-8 in both directions whatever the locale.
class PLUGINSDK_API String {
public:
    String() = default;
    String(const wchar_t* text); // NOLINT(google-explicit-constructor): null builds the empty text
    String(const String& other) = default;
    String(String&& other) noexcept = default;
    ~String();

    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;
    // A null text assigns the empty text.
    String& operator=(const wchar_t* text);
    // Widens a UTF-8 text (invalid sequences become U+FFFD); null assigns the empty text.
    String& operator=(const char* text);
    String& operator+=(const String& other);
    String& operator+=(const wchar_t* text);

    // Exact, case-sensitive comparison with a wide text (null compares as empty).
    bool operator==(const wchar_t* text) const;
    bool operator!=(const wchar_t* text) const { return !(*this == text); }

    // Never null.
    // NOLINTNEXTLINE(google-explicit-constructor)
    operator const wchar_t*() const { return m_Text.c_str(); }

    int length() const;

    // Replaces every character by its upper-case mapping in the current locale.
    void toUpperCase();

    // Reads a signed decimal number: blanks, one optional sign, decimal digits.
    // With `strict` the whole text must be that number (trailing blanks allowed);
    // without it reading stops at the first character after the digits. Returns
    // false, leaving `value` unchanged, when there is no digit or the number
    // does not fit a long.
    bool toLong(long& value, bool strict) const;

    // New NUL-terminated UTF-8 text of a wide text (a character without a UTF-8
    // form becomes U+FFFD); the caller releases it with brel_free. Null for null;
    // throws std::bad_alloc when the copy cannot be allocated.
    static char* getMultibyteString(const wchar_t* text);

    const std::wstring& str() const { return m_Text; }
    std::wstring& str() { return m_Text; }

    friend bool operator==(const String& a, const String& b) { return a.m_Text == b.m_Text; }
    friend bool operator!=(const String& a, const String& b) { return a.m_Text != b.m_Text; }
    friend bool operator<(const String& a, const String& b) { return a.compare(b) < 0; }
    friend bool operator<=(const String& a, const String& b) { return a.compare(b) <= 0; }
    friend bool operator>(const String& a, const String& b) { return a.compare(b) > 0; }
    friend bool operator>=(const String& a, const String& b) { return a.compare(b) >= 0; }

    // Code-point order: negative, 0 or positive.
    int compare(const String& other) const;

private:
    std::wstring m_Text;
};

} // namespace PluginSDK
