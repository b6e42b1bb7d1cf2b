// The base library's wide string: searching and slicing by character position.
#pragma once

#include "base/Export.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Finds one fragment in texts, with the answers of std::wstring's find and
// rfind, in time linear in the text and the fragment whatever both hold:
// a short fragment is compared in place (no allocation), a longer one by
// Knuth-Morris-Pratt over a table built once per direction. The fragment is
// viewed, not copied: it must outlive the search.
class BASE_API TextSearch {
public:
    static constexpr std::size_t npos = std::wstring_view::npos;

    explicit TextSearch(std::wstring_view fragment);

    // First occurrence at or after `from`, or npos.
    std::size_t findIn(std::wstring_view text, std::size_t from = 0) const;
    // Last occurrence that begins at or before `from`, or npos.
    std::size_t findLastIn(std::wstring_view text, std::size_t from = npos) const;

private:
    // Up to this length the plain comparison is linear too (at most this many
    // comparisons per position) and cheaper than a table.
    static constexpr std::size_t kShortFragment = 16;

    std::wstring_view m_Fragment;
    // Border lengths of the fragment's prefixes, and of its reversal's.
    std::vector<std::size_t> m_Forward;
    mutable std::vector<std::size_t> m_Backward;
};

// Positions count characters from 0 and are ints; a search that finds nothing
// answers a negative position. Slicing outside the text yields the part that
// lies inside it (possibly nothing), never an error.
class BASE_API String {
public:
    String() = default;
    String(const wchar_t* text); // NOLINT(google-explicit-constructor): null builds the empty text
    String(const String& other) = default;
    String(String&& other) noexcept = default;
    ~String();

    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;
    String& operator=(const wchar_t* text);

    int length() const;

    // First occurrence of `text` at or after `from` (a negative `from` searches
    // from 0).
    int indexOf(const String& text, int from) const;
    // Last occurrence of `text` that begins at or before `from`; -1 (or any
    // negative `from`) searches the whole text.
    int lastIndexOf(const String& text, int from) const;
    bool startsWith(const String& text, int from) const;
    bool endsWith(const String& text) const;

    // Characters from `first` to the end.
    String substring(int first) const;
    // Characters from `first` to `last`, both included.
    String substring(int first, int last) const;

    // The text as UTF-8; valid until the string is next changed or destroyed.
    operator const char*() const; // NOLINT(google-explicit-constructor)

    // The wide text, readable in place; never null.
    const wchar_t* c_wstr() const { return m_Text.c_str(); }
    const std::wstring& str() const { return m_Text; }

private:
    explicit String(std::wstring text) : m_Text(std::move(text)) {}

    std::wstring m_Text;
    mutable std::string m_Narrow;
};
