// The host's ordered list of wide strings.
#include "PluginSDK/StringVector.h"

#include <algorithm>

namespace PluginSDK {

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
    if (descending)
        std::sort(m_Items.begin(), m_Items.end(),
                  [](const String& a, const String& b) { return b.compare(a) < 0; });
    else
        std::sort(m_Items.begin(), m_Items.end(),
                  [](const String& a, const String& b) { return a.compare(b) < 0; });
}

} // namespace PluginSDK
