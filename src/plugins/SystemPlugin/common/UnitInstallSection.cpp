// The [Install] section of unit files, as systemd's configuration parser reads
// it: lines end at "\n", "\r", "\r\n" or a NUL byte; a line whose first
// non-blank character is '#' or ';' is a comment, even within a continued
// line; an odd number of trailing backslashes continues a line on the next
// (the last one becomes a blank); every other line must be UTF-8.
#include "SystemPlugin/common/UnitInstallSection.h"

#include "SystemPlugin/common/UnitName.h"

#include <cstring>

namespace SystemPlugin {

namespace {

constexpr char kBlanks[] = " \t\n\r";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) {
    return c != '\0' && std::strchr(kBlanks, c) != nullptr;
}

std::string_view strip(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// systemd's test: well-formed UTF-8 of the shortest form, of code points that
// are neither surrogates nor above U+10FFFF nor noncharacters.
bool isSystemdUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80             ? 1
                             : (lead & 0xE0) == 0xC0 ? 2
                             : (lead & 0xF0) == 0xE0 ? 3
                             : (lead & 0xF8) == 0xF0 ? 4
                                                     : 0;
        if (length == 0 || i + length > text.size())
            return false;
        unsigned long point = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            point = (point << 6) | (next & 0x3F);
        }
        const std::size_t shortest = point < 0x80 ? 1 : point < 0x800 ? 2 : point < 0x10000 ? 3 : 4;
        if (shortest != length || point >= 0x110000 || (point & 0xFFFFF800) == 0xD800 ||
            (point >= 0xFDD0 && point <= 0xFDEF) || (point & 0xFFFE) == 0xFFFE)
            return false;
        i += length;
    }
    return true;
}

// The next word of `rest`, split at blanks. With `unquote`, quotes group and
// are removed and a backslash is an ordinary character (as WantedBy= reads);
// without, quotes are ordinary and a backslash takes the next character
// literally (as Also= reads). 0: no word left; -1: bad syntax (an open quote,
// a trailing backslash); 1: `word` set.
int nextWord(std::string_view& rest, bool unquote, std::string& word) {
    std::size_t i = 0;
    while (i < rest.size() && isBlank(rest[i]))
        ++i;
    if (i == rest.size()) {
        rest = {};
        return 0;
    }
    word.clear();
    char quote = 0;
    for (; i < rest.size(); ++i) {
        const char c = rest[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
            else
                word.push_back(c);
        } else if (unquote && (c == '\'' || c == '"')) {
            quote = c;
        } else if (!unquote && c == '\\') {
            if (++i == rest.size())
                return -1;
            word.push_back(rest[i]);
        } else if (isBlank(c)) {
            break;
        } else {
            word.push_back(c);
        }
    }
    if (quote != 0)
        return -1;
    rest.remove_prefix(i);
    return 1;
}

// The prefix of a unit name: before the '@', or before the type suffix.
std::string_view prefixOf(std::string_view unit) {
    const std::string_view bare = UnitName::withoutSuffix(unit);
    return bare.substr(0, bare.find('@'));
}

// Expands the specifiers systemctl expands in Also= and DefaultInstance=:
// %n %N %p %i %j and %%; a '%' at the end stays. False with the reason for an
// unknown specifier, or one whose value depends on the host.
bool expandSpecifiers(std::string_view text, std::string_view unit, std::string& out,
                      std::string& reason) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 == text.size()) {
            out.push_back(text[i]);
            continue;
        }
        const char specifier = text[++i];
        const std::string_view prefix = prefixOf(unit);
        switch (specifier) {
        case '%':
            out.push_back('%');
            break;
        case 'n':
            out.append(unit);
            break;
        case 'N':
            out.append(UnitName::withoutSuffix(unit));
            break;
        case 'p':
            out.append(prefix);
            break;
        case 'i':
            out.append(UnitName::instanceOf(unit));
            break;
        case 'j':
            out.append(prefix.substr(
                prefix.rfind('-') == std::string_view::npos ? 0 : prefix.rfind('-') + 1));
            break;
        default:
            reason = std::strchr("aAbBHlmMovwWgGuUhsTV", specifier) && specifier != '\0'
                         ? "a specifier whose value depends on the host: %"
                         : "an unknown specifier: %";
            reason.push_back(specifier);
            return false;
        }
    }
    return true;
}

// An instance systemd accepts: name characters and '@', at least one.
bool isInstanceText(std::string_view text) {
    for (char c : text)
        if (c != '@' && !UnitName::isNameCharacter(c))
            return false;
    return !text.empty();
}

class InstallReader {
public:
    InstallReader(std::string_view unit, UnitInstallSection::Rules& rules, std::string& reason)
        : m_Unit(unit), m_Rules(rules), m_Reason(reason) {}

    // One logical line, comments and continuations already handled.
    bool line(std::string_view text) {
        if (!isSystemdUtf8(text))
            return refuse("a line that is not valid UTF-8");
        text = strip(text);
        if (text.empty())
            return true;
        if (text.front() == '[')
            return section(text);
        if (!m_InInstall)
            return true;
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos || equals == 0)
            return true;
        return assignment(strip(text.substr(0, equals)), strip(text.substr(equals + 1)));
    }

private:
    bool refuse(std::string reason) {
        m_Reason = std::move(reason);
        return false;
    }

    bool section(std::string_view header) {
        if (header.back() != ']' || header.size() < 2)
            return refuse("an invalid section header");
        const std::string_view name = header.substr(1, header.size() - 2);
        for (char c : name)
            if (static_cast<unsigned char>(c) < ' ' || c == 0x7F || std::strchr("\"'\\", c))
                return refuse("bad characters in a section header");
        m_InInstall = name == "Install";
        return true;
    }

    static void words(std::string_view value, std::vector<std::string>& list) {
        if (value.empty()) {
            list.clear();
            return;
        }
        std::string word;
        // Bad syntax keeps the words read before it, as systemd does.
        while (nextWord(value, true, word) > 0)
            list.push_back(word);
    }

    bool assignment(std::string_view key, std::string_view value) {
        if (key == "WantedBy")
            words(value, m_Rules.wantedBy);
        else if (key == "RequiredBy")
            words(value, m_Rules.requiredBy);
        else if (key == "Alias" && UnitName::typeMayAlias(m_Unit))
            words(value, m_Rules.aliases);
        else if (key == "Also")
            return also(value);
        else if (key == "DefaultInstance")
            return defaultInstance(value);
        return true;
    }

    bool also(std::string_view value) {
        std::string word, name;
        for (;;) {
            const int found = nextWord(value, false, word);
            if (found < 0)
                return refuse("bad syntax in Also=");
            if (found == 0)
                return true;
            if (!expandSpecifiers(word, m_Unit, name, m_Reason))
                return false;
            if (!UnitName::isValid(name))
                return refuse("Also= names no valid unit: " + name);
            m_Rules.also.push_back(name);
        }
    }

    bool defaultInstance(std::string_view value) {
        if (!UnitName::isValid(m_Unit, UnitName::Template))
            return true; // ignored by systemd for any other form of name
        std::string instance;
        if (!expandSpecifiers(value, m_Unit, instance, m_Reason))
            return false;
        if (!instance.empty() && !isInstanceText(instance))
            return refuse("an invalid DefaultInstance=");
        m_Rules.defaultInstance = instance;
        return true;
    }

    std::string_view m_Unit;
    UnitInstallSection::Rules& m_Rules;
    std::string& m_Reason;
    bool m_InInstall = false;
};

// Whether a text ends in an odd number of backslashes.
bool continues(std::string_view text) {
    std::size_t count = 0;
    while (count < text.size() && text[text.size() - 1 - count] == '\\')
        ++count;
    return count % 2 == 1;
}

} // namespace

bool UnitInstallSection::read(std::string_view text, std::string_view unit, Rules& rules,
                              std::string& reason) {
    InstallReader reader(unit, rules, reason);
    std::string continued;
    bool continuing = false;
    bool markSeen = false;
    while (!text.empty()) {
        std::size_t end = text.find_first_of(std::string_view("\n\r\0", 3));
        std::string_view line = text.substr(0, end);
        if (end == std::string_view::npos)
            text = {};
        else
            text.remove_prefix(end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1));
        if (line.size() > kMaxLine) {
            reason = "a line longer than systemd reads";
            return false;
        }
        const std::size_t lead = line.find_first_not_of(kBlanks);
        if (lead != std::string_view::npos && (line[lead] == '#' || line[lead] == ';'))
            continue;
        // The first byte-order mark is dropped, on whichever line it stands.
        if (!markSeen && line.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
            line.remove_prefix(kByteOrderMark.size());
            markSeen = true;
        }
        if (continuing && continued.size() + line.size() > kMaxLine) {
            reason = "a continued line longer than systemd reads";
            return false;
        }
        if (continuing)
            continued.append(line);
        else
            continued.assign(line);
        continuing = continues(continued);
        if (continuing) {
            continued.back() = ' ';
            continue;
        }
        if (!reader.line(continued))
            return false;
    }
    return !continuing || reader.line(continued);
}

} // namespace SystemPlugin
