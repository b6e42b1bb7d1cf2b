// glibc's files parsers for passwd, shadow, group and gshadow records.
#include "SystemPlugin/common/GlibcRecords.h"

#include "SystemPlugin/common/ConfigLines.h"
#include "SystemPlugin/common/RecordFilter.h"

#include <algorithm>
#include <cstdint>

namespace SystemPlugin {
namespace {

// The parser's steps over one line, as glibc's field macros take them.
class LineParser {
public:
    LineParser(std::string_view line, std::vector<std::string_view>& fields)
        : m_Line(line), m_Fields(fields) {}

    bool atEnd() const { return m_Pos >= m_Line.size(); }

    // Whether the last field ran to the end of the line (no ':' after it).
    bool endedLine() const { return m_Pos > m_Line.size(); }

    bool restIsSpace() const {
        for (std::size_t i = m_Pos; i < m_Line.size(); ++i)
            if (!isSpace(m_Line[i]))
                return false;
        return true;
    }

    // STRING_FIELD: up to the next ':' (or the end), which is skipped.
    void text() {
        const std::size_t start = std::min(m_Pos, m_Line.size());
        const std::size_t colon = std::min(m_Line.find(':', start), m_Line.size());
        m_Fields.push_back(m_Line.substr(start, colon - start));
        m_Pos = colon + 1;
    }

    // The rest of the line as one field.
    void rest() {
        m_Fields.push_back(atEnd() ? std::string_view() : m_Line.substr(m_Pos));
        m_Pos = m_Line.size() + 1;
    }

    // INT_FIELD (or INT_FIELD_MAYBE_NULL, where an empty number is allowed
    // and the field must not start at the end): strtoul in base 10 fitting
    // 32 bits, ended by ':' or the end.
    bool number(bool maybeEmpty) {
        if (maybeEmpty && atEnd())
            return false;
        const std::size_t start = std::min(m_Pos, m_Line.size());
        const std::size_t colon = std::min(m_Line.find(':', start), m_Line.size());
        const std::string_view field = m_Line.substr(start, colon - start);
        std::uint32_t value = 0;
        if (!(maybeEmpty && field.empty()) && !RecordFilter::readNumber(field, false, value))
            return false;
        m_Fields.push_back(field);
        m_Pos = colon + 1;
        return true;
    }

private:
    std::string_view m_Line;
    std::vector<std::string_view>& m_Fields;
    std::size_t m_Pos = 0;
};

bool parsePasswd(LineParser& parser) {
    parser.text();
    parser.text();
    if (!parser.number(false) || !parser.number(false))
        return false;
    parser.text();
    parser.text();
    parser.rest();
    return true;
}

// The old form ends after the maximum age (white space may follow).
bool parseShadow(LineParser& parser) {
    parser.text();
    parser.text();
    for (int field = 0; field < 3; ++field)
        if (!parser.number(true))
            return false;
    if (parser.restIsSpace())
        return true;
    for (int field = 0; field < 3; ++field)
        if (!parser.number(true))
            return false;
    // The flag, if any, ends the line: a ':' after it is refused.
    return parser.atEnd() || (parser.number(true) && parser.endedLine());
}

bool parseGroup(LineParser& parser) {
    parser.text();
    parser.text();
    if (!parser.number(false))
        return false;
    parser.rest();
    return true;
}

} // namespace

GlibcRecords::Kind GlibcRecords::kindOf(std::string_view path) {
    const std::string_view name = path.substr(path.rfind('/') + 1);
    constexpr std::pair<std::string_view, Kind> kNames[] = {{"passwd", Kind::Passwd},
                                                            {"shadow", Kind::Shadow},
                                                            {"gshadow", Kind::Gshadow},
                                                            {"group", Kind::Group}};
    for (const auto& [prefix, kind] : kNames)
        if (name.substr(0, prefix.size()) == prefix)
            return kind;
    return Kind::Other;
}

bool GlibcRecords::parse(std::string_view line, Kind kind, std::vector<std::string_view>& fields) {
    if (kind == Kind::Other)
        return RecordFilter::splitRecord(line, fields);
    line = upToNul(line);
    while (!line.empty() && isSpace(line.front()))
        line.remove_prefix(1);
    if (line.empty() || line.front() == '#' || line.front() == '+' || line.front() == '-')
        return false;
    fields.clear();
    LineParser parser(line, fields);
    switch (kind) {
    case Kind::Passwd:
        return parsePasswd(parser);
    case Kind::Shadow:
        return parseShadow(parser);
    case Kind::Group:
        return parseGroup(parser);
    case Kind::Gshadow:
    case Kind::Other:
        break;
    }
    parser.text();
    parser.text();
    parser.text();
    parser.rest();
    return true;
}

void GlibcRecords::items(std::string_view list, char separator, std::vector<std::string>& out) {
    while (!list.empty()) {
        while (!list.empty() && isSpace(list.front()))
            list.remove_prefix(1);
        const std::size_t end = std::min(list.find(separator), list.size());
        if (end > 0)
            out.emplace_back(list.substr(0, end));
        list.remove_prefix(std::min(end + 1, list.size()));
    }
}

} // namespace SystemPlugin
