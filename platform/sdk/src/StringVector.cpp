// The host's ordered list of wide strings.
#include "PluginSDK/StringVector.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace PluginSDK {

namespace {

// The order of String::compare: code units read as unsigned values (the
// code-point order for every valid text), a text before its own extensions.
// Equal leading units are skipped four at a time, which keeps texts with long
// common prefixes (paths) as fast as std::wstring's own comparison.
inline bool lessByCodePoint(const std::wstring& a, const std::wstring& b) {
    const std::size_t common = std::min(a.size(), b.size());
    const wchar_t* p = a.data();
    const wchar_t* q = b.data();
    std::size_t i = 0;
    while (i + 4 <= common && std::memcmp(p + i, q + i, 4 * sizeof(wchar_t)) == 0)
        i += 4;
    for (; i < common; ++i)
        if (p[i] != q[i])
            return static_cast<unsigned int>(p[i]) < static_cast<unsigned int>(q[i]);
    return a.size() < b.size();
}

} // namespace

StringVector::StringVector() = default;
StringVector::StringVector(const StringVector& other) = default;
StringVector::StringVector(StringVector&& other) noexcept = default;
StringVector::~StringVector() = default;
StringVector& StringVector::operator=(const StringVector& other) = default;
StringVector& StringVector::operator=(StringVector&& other) noexcept = default;

void StringVector::addString(const String& text) {
    m_Items.push_back(text);
}

void StringVector::addString(const wchar_t* text) {
    m_Items.emplace_back(text);
}

void StringVector::addString(String&& text) {
    m_Items.push_back(std::move(text));
}

void StringVector::removeAll() {
    m_Items.clear();
}

void StringVector::sort(bool descending) {
    // Sorting the bare texts lets the comparison inline and moves stay plain
    // std::wstring moves; moving them out and back costs two moves per element.
    std::vector<std::wstring> texts;
    texts.reserve(m_Items.size());
    for (String& item : m_Items)
        texts.push_back(std::move(item.str()));
    if (descending)
        std::sort(texts.begin(), texts.end(), [](const std::wstring& a, const std::wstring& b) {
            return lessByCodePoint(b, a);
        });
    else
        std::sort(texts.begin(), texts.end(), lessByCodePoint);
    for (std::size_t i = 0; i < texts.size(); ++i)
        m_Items[i].str() = std::move(texts[i]);
}

} // namespace PluginSDK
