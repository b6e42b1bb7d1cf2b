// A systemd configuration file as systemd's configuration parser reads it
// (config_parse): comment lines are dropped before anything else, so a
// comment ending in '\' does not continue; other lines ending in an odd run of
// '\' continue on the next line that is not a comment, the '\' becoming a
// blank; "[Section]" headers; "key = value" trimmed of blanks and line ends
// (not of '\v' or '\f'). systemd stops reading a file at a bad section header,
// a line that is not UTF-8 and a line of 1 MiB or more: such a file is
// refused.
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/Assignments.h"
#include "SystemPlugin/common/ConfigLines.h"
#include "SystemPlugin/common/SystemdLines.h"

#include <cstdint>

namespace SystemPlugin {
namespace {

// systemd's utf8_is_valid: no overlong form, surrogate, code point above
// U+10FFFF or noncharacter (U+FDD0 to U+FDEF, U+xFFFE, U+xFFFF).
bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = lead >= 0xf0   ? (lead >= 0xf8 ? 0 : 4)
                                   : lead >= 0xe0 ? 3
                                   : lead >= 0xc0 ? 2
                                                  : 0;
        if (length == 0 || i + length > text.size())
            return false;
        std::uint32_t code = lead & (0x7fu >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xc0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3fu);
        }
        const std::size_t shortest = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
        if (shortest != length || code >= 0x110000 || (code & 0xfffff800) == 0xd800 ||
            (code >= 0xfdd0 && code <= 0xfdef) || (code & 0xfffe) == 0xfffe)
            return false;
        i += length;
    }
    return true;
}

// A section name systemd takes: no control character, quote, '\' or DEL.
bool isSafeSection(std::string_view name) {
    for (char c : name)
        if ((c > 0 && c < ' ') || c == '"' || c == '\'' || c == '\\' || c == '\x7f')
            return false;
    return true;
}

class SystemdParser {
public:
    SystemdParser(const KeyQuery& query, Values& values) : m_Query(query), m_Values(values) {}

    TErrorCode run(std::string_view text) {
        const bool whole = SystemdLines::forEach(text, [this](std::string_view line) {
            if (m_Code == 0)
                take(line);
        });
        if (m_Code == 0 && m_Continuing)
            parseLine(m_Continuation);
        return whole ? m_Code : RC_REFUSED_BY_PROGRAM;
    }

private:
    void take(std::string_view buffer) {
        const std::size_t first = buffer.find_first_not_of(" \t\n\r");
        if (first != std::string_view::npos && (buffer[first] == '#' || buffer[first] == ';'))
            return;
        std::string_view line = buffer;
        constexpr std::string_view kMark = "\xef\xbb\xbf";
        if (!m_MarkSeen && line.substr(0, kMark.size()) == kMark) {
            line.remove_prefix(kMark.size());
            m_MarkSeen = true;
        }
        if (m_Continuing && m_Continuation.size() + line.size() > SystemdLines::kLongLineMax) {
            m_Code = RC_REFUSED_BY_PROGRAM;
            return;
        }
        if (!m_Continuing)
            m_Continuation.clear();
        m_Continuation.append(line);
        std::size_t backslashes = 0;
        while (backslashes < m_Continuation.size() &&
               m_Continuation[m_Continuation.size() - 1 - backslashes] == '\\')
            ++backslashes;
        m_Continuing = backslashes % 2 == 1;
        if (m_Continuing) {
            m_Continuation.back() = ' ';
            return;
        }
        parseLine(m_Continuation);
    }

    void parseLine(std::string_view line) {
        line = SystemdLines::strip(line);
        if (line.empty())
            return;
        if (!isValidUtf8(line)) {
            m_Code = RC_REFUSED_BY_PROGRAM;
        } else if (line.front() == '[') {
            const std::string_view name = line.substr(1, line.size() - 2);
            if (line.size() < 2 || line.back() != ']' || !isSafeSection(name))
                m_Code = RC_REFUSED_BY_PROGRAM;
            m_InSection = name == m_Query.section;
        } else if (m_InSection) {
            const std::size_t equals = line.find('=');
            if (equals != std::string_view::npos && equals > 0 &&
                SystemdLines::strip(line.substr(0, equals)) == m_Query.key)
                m_Values.emplace_back(SystemdLines::strip(line.substr(equals + 1)));
        }
    }

    const KeyQuery& m_Query;
    Values& m_Values;
    TErrorCode m_Code = 0;
    bool m_MarkSeen = false;
    bool m_InSection = false;
    bool m_Continuing = false;
    std::string m_Continuation;
};

} // namespace

TErrorCode readSystemdAssignments(std::string_view text, const KeyQuery& query, Values& values) {
    return SystemdParser(query, values).run(text);
}

} // namespace SystemPlugin
