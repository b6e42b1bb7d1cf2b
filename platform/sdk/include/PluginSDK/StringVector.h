// The host's ordered list of wide strings, in which vector results travel.
#pragma once

#include "PluginSDK/String.h"

#include <cstddef>
#include <vector>

namespace PluginSDK {

class PLUGINSDK_API StringVector {
public:
    StringVector();
    StringVector(const StringVector& other);
    StringVector(StringVector&& other) noexcept;
    ~StringVector();
    StringVector& operator=(const StringVector& other);
    StringVector& operator=(StringVector&& other) noexcept;

    // Appends a copy (a null text appends the empty text).
    void addString(const String& text);
    void addString(const wchar_t* text);
    void addString(String&& text);

    // Element `index`, 0-based, below size().
    const String& operator[](int index) const { return m_Items[static_cast<std::size_t>(index)]; }

    int size() const { return static_cast<int>(m_Items.size()); }
    bool empty() const { return m_Items.empty(); }

    void removeAll();

    // Sorts in place by the order of String: ascending, or descending when
    // `descending` is true.
    void sort(bool descending);

    friend bool operator==(const StringVector& a, const StringVector& b) {
        return a.m_Items == b.m_Items;
    }
    friend bool operator!=(const StringVector& a, const StringVector& b) { return !(a == b); }

    const std::vector<String>& items() const { return m_Items; }

private:
    std::vector<String> m_Items;
};

} // namespace PluginSDK
