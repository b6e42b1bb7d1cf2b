// sshd_config reading: sshd's line and word splitting, its checks, Include,
// and the two readings that give a connection's values.
#include "SystemPlugin/common/SshdConfig.h"

#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ConfigLines.h"
#include "SystemPlugin/common/SshdKeywords.h"

#include <strings.h>

namespace SystemPlugin {
namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// sshd's argument splitter (argv_split): blanks separate words, '#' at the
// start of a word ends the line, '...' and "..." quote, \' \" \\ and (outside
// quotes) "\ " escape. False for an unterminated quote.
bool splitWords(std::string_view text, std::vector<std::string>& words) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (isBlank(text[i])) {
            ++i;
            continue;
        }
        if (text[i] == '#')
            break;
        std::string word;
        char quote = '\0';
        for (; i < text.size(); ++i) {
            const char c = text[i];
            const char next = i + 1 < text.size() ? text[i + 1] : '\0';
            if (c == '\\') {
                if (next == '\'' || next == '"' || next == '\\' || (quote == '\0' && next == ' '))
                    ++i;
                word += text[i];
            } else if (quote == '\0' && isBlank(c)) {
                break;
            } else if (quote == '\0' && (c == '"' || c == '\'')) {
                quote = c;
            } else if (quote != '\0' && c == quote) {
                quote = '\0';
            } else {
                word += c;
            }
        }
        if (quote != '\0')
            return false;
        words.push_back(std::move(word));
    }
    return true;
}

// The lines sshd's load_server_config makes of a file: leading blanks and
// '\r' dropped, each line cut at its first NUL (which takes its line end with
// it, joining it to the next).
std::vector<std::string> serverLines(std::string_view text) {
    std::string joined;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size() - 1);
        std::string_view line = text.substr(0, end + 1);
        text.remove_prefix(end + 1);
        line.remove_prefix(std::min(line.size(), line.find_first_not_of(" \t\r")));
        joined.append(upToNul(line));
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = joined.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(joined.substr(start, end - start));
    lines.push_back(joined.substr(start));
    return lines;
}

} // namespace

// One reading of the files: the connection its Match lines are evaluated
// for (null: sshd's first reading), the lines setting the keyword it finds
// active, and how it ended.
struct SshdConfig::Pass {
    const SshdMatch::Connection* connection = nullptr;
    bool first = false;
    std::string_view keyword;
    std::vector<const Entry*>* lines = nullptr;
    TErrorCode code = 0;
    std::string why;
    std::size_t visits = 0;
};

TErrorCode SshdConfig::read(const std::string& path, std::string_view text, std::string& why) {
    std::size_t index = 0;
    if (const TErrorCode code = parseFile(path, text, 0, index, why))
        return code;
    std::vector<const Entry*> lines;
    return collect({}, nullptr, lines, why);
}

TErrorCode SshdConfig::parseFile(const std::string& path, std::string_view text, int depth,
                                 std::size_t& index, std::string& why) {
    if (depth > kMaxDepth) {
        why = "Include nesting deeper than " + std::to_string(kMaxDepth);
        return RC_INCLUDE_TOO_DEEP;
    }
    m_Bytes += text.size();
    if (m_Files.size() >= kMaxIncludedFiles || m_Bytes > kMaxBytes) {
        why = "More than " + std::to_string(kMaxIncludedFiles) + " files, or " +
              std::to_string(kMaxBytes >> 20) + " MiB, included";
        return RC_OVER_LIMIT;
    }
    index = m_Files.size();
    m_ByPath.emplace(path, index);
    m_Files.emplace_back();
    std::vector<Entry> entries;
    for (const std::string& line : serverLines(text))
        if (const TErrorCode code = parseLine(line, depth, entries, why)) {
            why += " (" + path + ")";
            return code;
        }
    m_Files[index] = std::move(entries);
    return 0;
}

TErrorCode SshdConfig::parseLine(std::string_view line, int depth, std::vector<Entry>& entries,
                                 std::string& why) {
    // Trailing blanks, line ends and form feeds go, except the first character.
    while (line.size() > 1 &&
           std::string_view(" \t\r\n\f").find(line.back()) != std::string_view::npos)
        line.remove_suffix(1);
    std::string_view rest = line;
    std::optional<std::string> keyword = SshdMatch::nextToken(rest);
    if (keyword && keyword->empty() && !rest.empty())
        keyword = SshdMatch::nextToken(rest);
    if (!keyword || keyword->empty() || (*keyword)[0] == '#')
        return 0;
    why = "sshd refuses the line \"" + std::string(line) + "\": ";
    std::vector<std::string> words;
    const SshdKeywords::Keyword* known = SshdKeywords::find(*keyword);
    const char* refusal = rest.empty()               ? "no argument after keyword"
                          : !known                   ? "Bad configuration option"
                          : !splitWords(rest, words) ? "invalid quotes"
                                                     : nullptr;
    if (refusal) {
        why += refusal;
        return RC_REFUSED_BY_PROGRAM;
    }
    Entry entry;
    entry.keyword = std::string(known->name);
    entry.allowedInMatch = known->allowedInMatch;
    if (equalsIgnoringCase(*keyword, "match")) {
        entry.kind = Entry::Kind::Match;
        entry.words = {std::string(rest)};
        std::string reason;
        if (SshdMatch::evaluate(rest, nullptr, reason) == SshdMatch::Result::Refused) {
            why += reason;
            return RC_REFUSED_BY_PROGRAM;
        }
    } else if (equalsIgnoringCase(*keyword, "include")) {
        entry.kind = Entry::Kind::Include;
        if (words.empty()) {
            why += "Include without a file name";
            return RC_REFUSED_BY_PROGRAM;
        }
        for (const std::string& glob : words) {
            if (glob.empty()) {
                why += "Include with an empty argument";
                return RC_REFUSED_BY_PROGRAM;
            }
            const std::string pattern =
                glob[0] == '/' || glob[0] == '~' ? glob : m_ConfigDir + "/" + glob;
            auto found = m_ByPattern.find(pattern);
            if (found == m_ByPattern.end()) {
                std::vector<std::string> paths;
                if (const TErrorCode code = m_Source.expand(pattern, paths))
                    return code;
                std::vector<std::size_t> files;
                std::string text;
                for (const std::string& path : paths) {
                    std::size_t index = 0;
                    if (const auto cached = m_ByPath.find(path); cached != m_ByPath.end())
                        index = cached->second;
                    else if (const TErrorCode code = m_Source.read(path, text))
                        return code;
                    else if (const TErrorCode parsed = parseFile(path, text, depth + 1, index, why))
                        return parsed;
                    files.push_back(index);
                }
                found = m_ByPattern.emplace(pattern, std::move(files)).first;
            }
            entry.files.insert(entry.files.end(), found->second.begin(), found->second.end());
        }
    } else {
        std::string reason;
        if (!SshdKeywords::accepts(*known, words, reason)) {
            why += reason;
            return RC_REFUSED_BY_PROGRAM;
        }
        entry.words = std::move(words);
    }
    entries.push_back(std::move(entry));
    return 0;
}

void SshdConfig::walk(std::size_t file, int depth, bool matchOnly, bool neverMatch, bool& active,
                      Pass& pass) const {
    if (depth > kMaxDepth) {
        pass.code = RC_INCLUDE_TOO_DEEP;
        pass.why = "Include nesting deeper than " + std::to_string(kMaxDepth);
        return;
    }
    if (++pass.visits > kMaxIncludedFiles) {
        pass.code = RC_OVER_LIMIT;
        pass.why = "More than " + std::to_string(kMaxIncludedFiles) + " files included";
        return;
    }
    for (const Entry& entry : m_Files[file]) {
        if (pass.code != 0)
            return;
        switch (entry.kind) {
        case Entry::Kind::Setting:
            if (!active && !entry.allowedInMatch && pass.first) {
                pass.code = RC_REFUSED_BY_PROGRAM;
                pass.why = "Directive " + entry.keyword + " is not allowed within a Match block";
            } else if (active && entry.keyword == pass.keyword) {
                pass.lines->push_back(&entry);
            }
            break;
        case Entry::Kind::Match: {
            const auto result = SshdMatch::evaluate(
                entry.words.front(), neverMatch ? nullptr : pass.connection, pass.why);
            if (result == SshdMatch::Result::NeedsPort) {
                pass.code = RC_CONTEXT_NEEDED;
                pass.why = "A Match LocalPort block needs lport in \"match\"";
            }
            active = !neverMatch && result == SshdMatch::Result::Match;
            matchOnly = false;
            break;
        }
        case Entry::Kind::Include: {
            const bool outer = active;
            for (std::size_t child : entry.files) {
                walk(child, depth + 1, matchOnly, !matchOnly && !outer, active, pass);
                active = outer;
            }
            break;
        }
        }
    }
}

TErrorCode SshdConfig::collect(std::string_view keyword, const SshdMatch::Connection* connection,
                               std::vector<const Entry*>& lines, std::string& why) const {
    Pass pass;
    pass.connection = connection;
    pass.first = connection == nullptr;
    pass.keyword = keyword;
    pass.lines = &lines;
    bool active = pass.first;
    walk(0, 0, !pass.first, false, active, pass);
    if (pass.code != 0)
        why = pass.why;
    return pass.code;
}

// Every line of every file in the order sshd reads them, whatever the
// connection, with whether a line setting the keyword stands in a block other
// than "Match all" (an Include inside one puts the whole file there) and
// whether a Match LocalPort exists. The first reading has bounded the nesting.
struct SshdConfig::Survey {
    std::string_view keyword;
    std::vector<const Entry*>* lines;
    bool inBlock = false;
    bool localPort = false;

    void visit(const SshdConfig& config, std::size_t file, bool outer) {
        bool other = outer;
        for (const Entry& entry : config.m_Files[file]) {
            std::string unused;
            const SshdMatch::Connection none;
            if (entry.kind == Entry::Kind::Match) {
                const std::string& criteria = entry.words.front();
                other = outer ||
                        SshdMatch::evaluate(criteria, nullptr, unused) != SshdMatch::Result::Match;
                localPort = localPort || SshdMatch::evaluate(criteria, &none, unused) ==
                                             SshdMatch::Result::NeedsPort;
            } else if (entry.kind == Entry::Kind::Include) {
                for (std::size_t child : entry.files)
                    visit(config, child, other);
            } else if (entry.keyword == keyword) {
                inBlock = inBlock || other;
                lines->push_back(&entry);
            }
        }
    }
};

TErrorCode SshdConfig::values(std::string_view keyword, SshdMatch::Mode mode,
                              const SshdMatch::Connection& connection,
                              std::vector<std::string>& words, std::string& why) const {
    const SshdKeywords::Keyword* known = SshdKeywords::find(keyword);
    const std::string name = known ? std::string(known->name) : std::string(keyword);
    std::vector<const Entry*> lines;
    if (mode != SshdMatch::Mode::Connection) {
        Survey survey{name, &lines};
        survey.visit(*this, 0, false);
        if (mode == SshdMatch::Mode::Unset && (survey.inBlock || survey.localPort)) {
            why = "A Match block sets " + name + ", or a Match LocalPort exists: give \"match\"";
            return RC_CONTEXT_NEEDED;
        }
    }
    if (mode != SshdMatch::Mode::Any) {
        std::vector<const Entry*> matched;
        lines.clear();
        if (const TErrorCode code = collect(name, nullptr, lines, why))
            return code;
        if (const TErrorCode code = collect(name, &connection, matched, why))
            return code;
        if (!matched.empty() && known && known->allowedInMatch)
            lines = std::move(matched);
    }
    for (const Entry* line : lines)
        words.insert(words.end(), line->words.begin(), line->words.end());
    return 0;
}

} // namespace SystemPlugin
