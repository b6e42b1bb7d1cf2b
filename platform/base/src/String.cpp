// The base library's wide string.
#include "base/String.h"

#include "base/Utf8.h"

#include <climits>

namespace {

int toPosition(std::size_t index) {
    return index == std::wstring::npos || index > static_cast<std::size_t>(INT_MAX)
               ? -1
               : static_cast<int>(index);
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
    m_Text = text ? text : L"";
    return *this;
}

int String::length() const {
    return m_Text.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX
                                                              : static_cast<int>(m_Text.size());
}

int String::indexOf(const String& text, int from) const {
    std::size_t start = from < 0 ? 0 : static_cast<std::size_t>(from);
    if (start > m_Text.size())
        return -1;
    return toPosition(m_Text.find(text.m_Text, start));
}

int String::lastIndexOf(const String& text, int from) const {
    std::size_t start = from < 0 ? std::wstring::npos : static_cast<std::size_t>(from);
    return toPosition(m_Text.rfind(text.m_Text, start));
}

bool String::startsWith(const String& text, int from) const {
    if (from < 0 || static_cast<std::size_t>(from) > m_Text.size())
        return false;
    return m_Text.compare(static_cast<std::size_t>(from), text.m_Text.size(), text.m_Text) == 0 &&
           m_Text.size() - static_cast<std::size_t>(from) >= text.m_Text.size();
}

bool String::endsWith(const String& text) const {
    return text.m_Text.size() <= m_Text.size() &&
           m_Text.compare(m_Text.size() - text.m_Text.size(), text.m_Text.size(), text.m_Text) ==
               0;
}

String String::substring(int first) const {
    return substring(first, length() - 1);
}

String String::substring(int first, int last) const {
    if (first < 0)
        first = 0;
    if (last >= length())
        last = length() - 1;
    if (first > last)
        return String();
    return String(m_Text.substr(static_cast<std::size_t>(first),
                                static_cast<std::size_t>(last - first) + 1));
}

String::operator const char*() const {
    m_Narrow.clear();
    base::encodeUtf8(m_Text.data(), m_Text.size(), m_Narrow, true);
    return m_Narrow.c_str();
}
