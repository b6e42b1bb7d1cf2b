// The host's ordered list of wide strings.
#include "PluginSDK/StringVector.h"

#include <algorithm>
#include <cstdint>
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

// Two code units of a text from `at` on, packed so that the order of the keys
// is the code-point order of the units; a unit beyond the end counts as 0.
inline std::uint64_t leadingUnits(const std::wstring& text, std::size_t at) {
    const std::uint64_t first = at < text.size() ? static_cast<std::uint32_t>(text[at]) : 0;
    const std::uint64_t second =
        at + 1 < text.size() ? static_cast<std::uint32_t>(text[at + 1]) : 0;
    return first << 32 | second;
}

// An element to sort: its first four code units as keys, and the element.
// Texts whose keys differ are ordered by the keys alone, without reading the
// texts; a text shorter than four units has zeros in their place, which keeps
// it before its extensions (equal keys fall back to the whole texts).
struct SortEntry {
    std::uint64_t head;
    std::uint64_t tail;
    String* item;
};

inline bool entryLess(const SortEntry& a, const SortEntry& b) {
    if (a.head != b.head)
        return a.head < b.head;
    if (a.tail != b.tail)
        return a.tail < b.tail;
    return lessByCodePoint(a.item->str(), b.item->str());
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
    // The texts stay where they are: a list of small keys is sorted and the
    // elements are then moved once into their new places.
    std::vector<SortEntry> entries;
    entries.reserve(m_Items.size());
    for (String& item : m_Items)
        entries.push_back({leadingUnits(item.str(), 0), leadingUnits(item.str(), 2), &item});
    if (descending)
        std::sort(entries.begin(), entries.end(),
                  [](const SortEntry& a, const SortEntry& b) { return entryLess(b, a); });
    else
        std::sort(entries.begin(), entries.end(), entryLess);
    std::vector<String> sorted;
    sorted.reserve(m_Items.size());
    for (const SortEntry& entry : entries)
        sorted.push_back(std::move(*entry.item));
    m_Items.swap(sorted);
}

} // namespace PluginSDK
