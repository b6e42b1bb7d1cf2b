// The contents of an INI text, scanned at each lookup.
#include "PluginSDK/IniDocument.h"

#include "base/Utf8.h"

#include <cstring>
#include <utility>

namespace PluginSDK {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::size_t kByteOrderMarkSize = sizeof kByteOrderMark - 1;

// A run of bytes of the text, [first, last).
struct Span {
    const char* first;
    const char* last;

    bool empty() const { return first == last; }
    std::size_t size() const { return static_cast<std::size_t>(last - first); }
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

Span trimmed(Span span) {
    while (span.first < span.last && isBlank(*span.first))
        ++span.first;
    while (span.last > span.first && isBlank(span.last[-1]))
        --span.last;
    return span;
}

bool isComment(Span line) {
    return !line.empty() && (*line.first == ';' || *line.first == '#');
}

std::wstring foldedAscii(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

// Whether the bytes of `name` decode to `folded` (already folded), ignoring
// ASCII case. Every decoded character takes one to four bytes, so names of
// other byte lengths are told apart without decoding them.
bool sameName(Span name, const std::wstring& folded, std::wstring& scratch) {
    if (name.size() < folded.size() || name.size() > 4 * folded.size())
        return false;
    scratch.clear();
    base::decodeUtf8(name.first, name.size(), scratch);
    return foldedAscii(scratch) == folded;
}

// The name of a header line (trimmed, starting with '['); false when the line
// is no header.
bool headerName(Span line, Span& name) {
    for (const char* close = line.first + 1; close < line.last; ++close) {
        if (*close != ']')
            continue;
        Span rest = trimmed({close + 1, line.last});
        if (rest.empty() || isComment(rest)) {
            name = trimmed({line.first + 1, close});
            return true;
        }
    }
    return false;
}

} // namespace

IniDocument IniDocument::parse(const char* data, std::size_t size) {
    return parse(data ? std::string(data, size) : std::string());
}

IniDocument IniDocument::parse(std::string bytes) {
    IniDocument document;
    if (bytes.compare(0, kByteOrderMarkSize, kByteOrderMark) == 0)
        bytes.erase(0, kByteOrderMarkSize);
    document.m_Bytes = std::move(bytes);
    return document;
}

bool IniDocument::find(const std::wstring& section, const std::wstring& key,
                       std::wstring& value) const {
    const std::wstring wantedSection = foldedAscii(section);
    const std::wstring wantedKey = foldedAscii(key);
    std::wstring scratch;
    bool inSection = wantedSection.empty();
    const char* end = m_Bytes.data() + m_Bytes.size();
    for (const char* start = m_Bytes.data(); start < end;) {
        const void* newline = std::memchr(start, '\n', static_cast<std::size_t>(end - start));
        const char* lineEnd = newline ? static_cast<const char*>(newline) : end;
        Span line{start, lineEnd > start && lineEnd[-1] == '\r' ? lineEnd - 1 : lineEnd};
        line = trimmed(line);
        start = lineEnd + 1;

        if (line.empty() || isComment(line))
            continue;
        if (*line.first == '[') {
            Span name{};
            inSection = headerName(line, name) && sameName(name, wantedSection, scratch);
            continue;
        }
        if (!inSection)
            continue;
        const void* equals = std::memchr(line.first, '=', line.size());
        if (!equals)
            continue;
        const char* split = static_cast<const char*>(equals);
        Span name = trimmed({line.first, split});
        if (name.empty() || !sameName(name, wantedKey, scratch))
            continue;
        Span text = trimmed({split + 1, line.last});
        value.clear();
        base::decodeUtf8(text.first, text.size(), value);
        return true;
    }
    return false;
}

} // namespace PluginSDK
