// The host's wide string.
#include "PluginSDK/String.h"

#include "base/Utf8.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <new>

namespace PluginSDK {

namespace {

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

} // namespace

String::String(const wchar_t* text) : m_Text(text ? text : L"") {}

String::~String() = default;

String& String::operator=(const String& other) {
    m_Text = other.m_Text;
    return *this;
}

String& String::operator=(String&& other) noexcept {
    m_Text = std::move(other.m_Text);
    return *this;
}

String& String::operator=(const wchar_t* text) {
    if (text)
        m_Text.assign(text);
    else
        m_Text.clear();
    return *this;
}

String& String::operator=(const char* text) {
    m_Text.clear();
    if (text)
        base::decodeUtf8(text, std::strlen(text), m_Text);
    return *this;
}

String& String::operator+=(const String& other) {
    m_Text += other.m_Text;
    return *this;
}

String& String::operator+=(const wchar_t* text) {
    if (text)
        m_Text += text;
    return *this;
}

bool String::operator==(const wchar_t* text) const {
    return m_Text.compare(text ? text : L"") == 0;
}

int String::length() const {
    return m_Text.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX
                                                             : static_cast<int>(m_Text.size());
}

void String::toUpperCase() {
    for (wchar_t& c : m_Text)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
}

bool String::toLong(long& value, bool strict) const {
    const wchar_t* p = m_Text.c_str();
    while (isBlank(*p))
        ++p;
    bool negative = false;
    if (*p == L'+' || *p == L'-')
        negative = *p++ == L'-';
    if (*p < L'0' || *p > L'9')
        return false;
    // Accumulate as a negative number so that LONG_MIN is reachable.
    long result = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        long digit = *p - L'0';
        if (result < (LONG_MIN + digit) / 10)
            return false;
        result = result * 10 - digit;
    }
    if (strict) {
        while (isBlank(*p))
            ++p;
        if (*p != L'\0')
            return false;
    }
    if (!negative) {
        if (result == LONG_MIN)
            return false;
        result = -result;
    }
    value = result;
    return true;
}

char* String::getMultibyteString(const wchar_t* text) {
    if (!text)
        return nullptr;
    std::string narrow;
    base::encodeUtf8(text, std::wcslen(text), narrow, true);
    // Allocated with the C allocator so that the base library's brel_free releases it.
    auto* copy = static_cast<char*>(std::malloc(narrow.size() + 1));
    if (!copy)
        throw std::bad_alloc();
    std::memcpy(copy, narrow.c_str(), narrow.size() + 1);
    return copy;
}

int String::compare(const String& other) const {
    // Compare code units as unsigned values so that the order is the code-point
    // order for every valid text and still total for any other wchar_t value.
    std::size_t n = std::min(m_Text.size(), other.m_Text.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto a = static_cast<unsigned int>(m_Text[i]);
        auto b = static_cast<unsigned int>(other.m_Text[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (m_Text.size() == other.m_Text.size())
        return 0;
    return m_Text.size() < other.m_Text.size() ? -1 : 1;
}

} // namespace PluginSDK
