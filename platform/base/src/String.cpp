// The base library's wide string.
#include "base/String.h"

#include "base/Utf8.h"

#include <algorithm>
#include <climits>

namespace {

int toPosition(std::size_t index) {
    return index == std::wstring::npos || index > static_cast<std::size_t>(INT_MAX)
               ? -1
               : static_cast<int>(index);
}

// Border table of the pattern at(0) .. at(m - 1): entry i is the length of the
// longest proper prefix of the first i + 1 characters that is also their suffix.
template <typename At> std::vector<std::size_t> borders(std::size_t m, At at) {
    std::vector<std::size_t> table(m, 0);
    for (std::size_t i = 1, k = 0; i < m; ++i) {
        while (k > 0 && at(i) != at(k))
            k = table[k - 1];
        if (at(i) == at(k))
            ++k;
        table[i] = k;
    }
    return table;
}

// Knuth-Morris-Pratt: feeds text(0), text(1), ... up to text(count - 1) and
// answers the index of the first character fed that completes a match, or npos.
template <typename Pattern, typename Text>
std::size_t scan(const std::vector<std::size_t>& table, Pattern pattern, Text text,
                 std::size_t count) {
    const std::size_t m = table.size();
    for (std::size_t i = 0, k = 0; i < count; ++i) {
        while (k > 0 && text(i) != pattern(k))
            k = table[k - 1];
        if (text(i) == pattern(k) && ++k == m)
            return i;
    }
    return TextSearch::npos;
}

} // namespace

TextSearch::TextSearch(std::wstring_view fragment) : m_Fragment(fragment) {
    if (fragment.size() > kShortFragment)
        m_Forward = borders(fragment.size(), [fragment](std::size_t i) { return fragment[i]; });
}

std::size_t TextSearch::findIn(std::wstring_view text, std::size_t from) const {
    const std::size_t m = m_Fragment.size();
    if (m <= kShortFragment)
        return text.find(m_Fragment, from);
    if (from > text.size() || text.size() - from < m)
        return npos;
    const std::wstring_view fragment = m_Fragment;
    const std::size_t end = scan(
        m_Forward, [fragment](std::size_t k) { return fragment[k]; },
        [text, from](std::size_t i) { return text[from + i]; }, text.size() - from);
    return end == npos ? npos : from + end + 1 - m;
}

std::size_t TextSearch::findLastIn(std::wstring_view text, std::size_t from) const {
    const std::size_t m = m_Fragment.size();
    if (m <= kShortFragment)
        return text.rfind(m_Fragment, from);
    if (text.size() < m)
        return npos;
    // Backwards from the last place an occurrence may end, with the reversed
    // fragment: the first match found is the last occurrence.
    const std::wstring_view fragment = m_Fragment;
    const auto reversed = [fragment, m](std::size_t k) { return fragment[m - 1 - k]; };
    if (m_Backward.empty())
        m_Backward = borders(m, reversed);
    const std::size_t last = std::min(from, text.size() - m) + m - 1;
    const std::size_t end = scan(
        m_Backward, reversed, [text, last](std::size_t i) { return text[last - i]; }, last + 1);
    return end == npos ? npos : last - end;
}

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
    return toPosition(TextSearch(text.m_Text).findIn(m_Text, start));
}

int String::lastIndexOf(const String& text, int from) const {
    std::size_t start = from < 0 ? std::wstring::npos : static_cast<std::size_t>(from);
    return toPosition(TextSearch(text.m_Text).findLastIn(m_Text, start));
}

bool String::startsWith(const String& text, int from) const {
    if (from < 0 || static_cast<std::size_t>(from) > m_Text.size())
        return false;
    return m_Text.compare(static_cast<std::size_t>(from), text.m_Text.size(), text.m_Text) == 0 &&
           m_Text.size() - static_cast<std::size_t>(from) >= text.m_Text.size();
}

bool String::endsWith(const String& text) const {
    return text.m_Text.size() <= m_Text.size() &&
           m_Text.compare(m_Text.size() - text.m_Text.size(), text.m_Text.size(), text.m_Text) == 0;
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
    return String(
        m_Text.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(last - first) + 1));
}

String::operator const char*() const {
    m_Narrow.clear();
    base::encodeUtf8(m_Text.data(), m_Text.size(), m_Narrow, true);
    return m_Narrow.c_str();
}
