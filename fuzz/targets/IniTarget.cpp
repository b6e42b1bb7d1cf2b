// Fuzz target: INI documents. Any bytes parse, and the file reader answers
// exactly as the document parsed from the same bytes; a file written from
// fuzz-made sections (with comments after headers, and broken headers) and
// keys gives back the first value of every key in a section, and none of the
// keys below a broken header.
#include "ByteReader.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "MemoryFile.h"

#include "PluginSDK/IniDocument.h"
#include "PluginSDK/IniFileReader.h"
#include "base/Utf8.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace fuzzing {

namespace {

constexpr std::size_t kMaxRaw = 2048;
constexpr std::size_t kMaxEntries = 24;

bool isAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

std::wstring folded(std::wstring text) {
    for (wchar_t& c : text)
        c = isAsciiLetter(c) ? (c | 0x20) : c;
    return text;
}

// Flips the ASCII case of letters the input chooses: lookups ignore it.
std::wstring recased(std::wstring text, ByteReader& input) {
    for (wchar_t& c : text)
        if (input.flag() && isAsciiLetter(c))
            c ^= 0x20;
    return text;
}

// Characters of names and values: letters of both cases, digits, blanks and
// punctuation that the format treats specially in some places, non-ASCII.
constexpr wchar_t kAlphabet[] = {
    L'a', L'B', L'z', L'Q',  L'0',  L'9',    L' ',    L'\t',     L'=',       L';', L'#', L'[', L']',
    L'"', L'.', L'_', L'\\', L'\0', L'\xE9', L'\xC9', L'\x263A', L'\x1F600', L'K', L'e', L'y'};

// A name or value drawn from the alphabet, then made representable: `first`
// rejects characters that would change the meaning of a line's start, blanks
// never start or end it (they would be trimmed), and names hold no '=' and no
// NUL.
std::wstring drawText(ByteReader& input, std::size_t maxLength, bool isName,
                      const std::wstring& badFirst) {
    std::wstring text;
    const std::size_t length = input.below(maxLength + 1);
    for (std::size_t i = 0; i < length; ++i) {
        wchar_t c = kAlphabet[input.below(sizeof kAlphabet / sizeof kAlphabet[0])];
        if (isName && (c == L'=' || c == L'\0'))
            c = L'n';
        text += c;
    }
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t'))
        text.erase(0, 1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.pop_back();
    if (!text.empty() && badFirst.find(text.front()) != std::wstring::npos)
        text.insert(0, 1, L'k');
    return text;
}

std::string utf8(const std::wstring& text) {
    std::string out;
    base::encodeUtf8(text.c_str(), text.size(), out, true);
    return out;
}

// Blanks that the reader drops around names, values and brackets.
std::string blanks(ByteReader& input) {
    static const char* const kBlanks[] = {"", " ", "\t", "  \t "};
    return kBlanks[input.below(4)];
}

void checkRaw(const std::string& bytes, ByteReader& lookups) {
    const PluginSDK::IniDocument document =
        PluginSDK::IniDocument::parse(bytes.data(), bytes.size());
    MemoryFile file(bytes);
    PluginSDK::IniFileReader reader(file.widePath().c_str());
    FUZZ_CHECK(file.path().empty() || reader.isLoaded());
    // Names to look up come from the input itself, so that some exist.
    std::wstring text;
    base::decodeUtf8(bytes.data(), bytes.size(), text);
    for (int round = 0; round < 8 && !lookups.empty(); ++round) {
        std::size_t from = lookups.below(text.size() + 1);
        std::wstring section = text.substr(from, lookups.below(12));
        from = lookups.below(text.size() + 1);
        std::wstring key = text.substr(from, lookups.below(12));
        std::wstring fromDocument = L"unset";
        std::wstring fromReader = L"unset";
        bool found = document.find(section, key, fromDocument);
        FUZZ_CHECK(found || fromDocument == L"unset");
        if (reader.isLoaded()) {
            FUZZ_CHECK((reader.getProperty(section, key, fromReader) != 0) == found);
            FUZZ_CHECK(fromReader == fromDocument);
        }
    }
    PluginSDK::IniDocument none = PluginSDK::IniDocument::parse(nullptr, bytes.size());
    std::wstring value;
    FUZZ_CHECK(!none.find(L"", L"", value));
}

void checkWritten(ByteReader& input) {
    using Keys = std::map<std::wstring, std::wstring>;
    std::map<std::wstring, Keys> expected;
    std::vector<std::pair<std::wstring, std::wstring>> written; // section, key
    std::vector<std::pair<std::wstring, std::wstring>> orphans; // section above, key
    std::string file;
    if (input.flag())
        file += "\xEF\xBB\xBF";
    const char* newline = input.flag() ? "\r\n" : "\n";
    std::wstring section;
    bool inSection = true; // false below a line that starts with '[' but is no header
    const std::size_t entries = input.below(kMaxEntries + 1);
    for (std::size_t i = 0; i < entries; ++i) {
        switch (input.below(5)) {
        case 0: {
            // Section names hold no ']', which could end a name early.
            std::wstring name = drawText(input, 10, true, L"");
            for (wchar_t& c : name)
                c = c == L']' ? L'n' : c;
            const std::string open = blanks(input) + "[" + blanks(input) + utf8(name);
            if (input.flag()) {
                file += open + blanks(input) + "]" + blanks(input) +
                        (input.flag() ? "" : (input.flag() ? ";" : "#") + utf8(name)) + newline;
                section = name;
                inSection = true;
                expected[folded(section)];
            } else {
                file += open + (input.flag() ? "] x" : "") + newline;
                inSection = false;
            }
            break;
        }
        case 1:
            file += blanks(input) + (input.flag() ? ";" : "#") +
                    utf8(drawText(input, 12, false, L"")) + newline;
            break;
        default: {
            std::wstring key = drawText(input, 10, true, L";#[");
            std::wstring value = drawText(input, 16, false, L"");
            if (key.empty())
                key = L"key";
            file += blanks(input) + utf8(key) + blanks(input) + "=" + blanks(input) + utf8(value) +
                    blanks(input) + newline;
            if (!inSection) {
                orphans.emplace_back(section, key);
                break;
            }
            expected[folded(section)].emplace(folded(key), value);
            written.emplace_back(section, key);
            break;
        }
        }
    }
    if (input.flag() && !file.empty())
        file.pop_back(); // the last line may lack its LF (a CR left alone still ends it)

    const PluginSDK::IniDocument document = PluginSDK::IniDocument::parse(file.data(), file.size());
    MemoryFile memoryFile(file);
    PluginSDK::IniFileReader reader(memoryFile.widePath().c_str());
    for (const auto& [sectionName, keyName] : written) {
        const std::wstring& value = expected[folded(sectionName)][folded(keyName)];
        std::wstring found;
        std::wstring lookupSection = recased(sectionName, input);
        std::wstring lookupKey = recased(keyName, input);
        FUZZ_CHECK(document.find(lookupSection, lookupKey, found));
        FUZZ_CHECK(found == value);
        if (reader.isLoaded()) {
            std::wstring fromReader;
            FUZZ_CHECK(reader.getProperty(lookupSection, lookupKey, fromReader) != 0);
            FUZZ_CHECK(fromReader == found);
        }
    }
    // Keys below a broken header never answer for the section above it.
    for (const auto& [sectionName, keyName] : orphans) {
        std::wstring found;
        const Keys& keys = expected[folded(sectionName)];
        FUZZ_CHECK(keys.count(folded(keyName)) != 0 || !document.find(sectionName, keyName, found));
    }
    std::wstring absent;
    FUZZ_CHECK(!document.find(L"no such section \x263A", L"key", absent));
}

} // namespace

// Input: a mode byte; then either raw INI bytes followed (after a 0xFF byte)
// by lookup choices, or the choices that write a file.
int fuzzIni(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    if (input.flag()) {
        std::string bytes = input.until('\xFF').substr(0, kMaxRaw);
        checkRaw(bytes, input);
    } else {
        checkWritten(input);
    }
    return 0;
}

} // namespace fuzzing
