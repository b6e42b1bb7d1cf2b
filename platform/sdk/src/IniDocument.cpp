// The contents of an INI text.
#include "PluginSDK/IniDocument.h"

#include "base/Utf8.h"

#include <cstring>

namespace PluginSDK {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::size_t kByteOrderMarkSize = sizeof kByteOrderMark - 1;

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

std::wstring trimmed(const std::wstring& text, std::size_t first, std::size_t last) {
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::wstring foldedAscii(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

} // namespace

IniDocument IniDocument::parse(const char* data, std::size_t size) {
    IniDocument document;
    if (!data)
        return document;
    if (size >= kByteOrderMarkSize && std::memcmp(data, kByteOrderMark, kByteOrderMarkSize) == 0) {
        data += kByteOrderMarkSize;
        size -= kByteOrderMarkSize;
    }
    std::wstring text;
    base::decodeUtf8(data, size, text);

    std::wstring section;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::size_t lineEnd = end > start && text[end - 1] == L'\r' ? end - 1 : end;
        std::wstring line = trimmed(text, start, lineEnd);
        start = end + 1;

        if (line.empty() || line.front() == L';' || line.front() == L'#')
            continue;
        if (line.front() == L'[') {
            if (line.size() >= 2 && line.back() == L']') {
                section = foldedAscii(trimmed(line, 1, line.size() - 1));
                document.m_Sections[section];
            }
            continue;
        }
        std::size_t equals = line.find(L'=');
        if (equals == std::wstring::npos)
            continue;
        std::wstring key = trimmed(line, 0, equals);
        if (key.empty())
            continue;
        document.m_Sections[section].emplace(foldedAscii(key),
                                             trimmed(line, equals + 1, line.size()));
    }
    return document;
}

bool IniDocument::find(const std::wstring& section, const std::wstring& key,
                       std::wstring& value) const {
    auto keys = m_Sections.find(foldedAscii(section));
    if (keys == m_Sections.end())
        return false;
    auto entry = keys->second.find(foldedAscii(key));
    if (entry == keys->second.end())
        return false;
    value = entry->second;
    return true;
}

} // namespace PluginSDK
