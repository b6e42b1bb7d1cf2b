// sudoers as sudo reads its Defaults. A line ending in '\' goes on in the
// next. "@include PATH" / "#include PATH" read a file (a relative path is
// taken from the including file's directory), "@includedir DIR" /
// "#includedir DIR" its files in byte order, leaving out names with a '.' or
// ending in '~'. An included file that is world-writable, not owned by uid 0,
// or group-writable with a group other than 0 is skipped, as sudo skips it.
// Any other '#' outside quotes that is not a uid ("#1000") starts a comment.
// "Defaults" entries are flags ("use_pty", "!use_pty": "true", "false") or
// options ("logfile=/var/log/sudo.log", "logfile = \"/a b\""), separated by
// ','; the last wins. A key set by a scoped line ("Defaults:user",
// "Defaults@host", "Defaults>runas", "Defaults!cmnd") depends on who runs
// what: -12028, unless every value is asked for. A list operator ("+=",
// "-=") on the key is -12030. Syntax errors in a Defaults line, a missing
// include and include nesting beyond sudo's limit are -12029.
#include "SystemPlugin/common/SudoersAssignments.h"

#include "PluginKit/FileReader.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ConfigLines.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <new>

namespace SystemPlugin {
namespace {

// sudo gives up beyond this include depth.
// Files included in all, so that includes fanning out cannot take
// forever (their program would not finish either): -12012 beyond it.
constexpr int kMaxIncludes = 4096;
constexpr int kMaxDepth = 128;

bool startsWord(std::string_view text, std::string_view word) {
    return text.substr(0, word.size()) == word &&
           (text.size() == word.size() || isBlank(text[word.size()]));
}

// The line up to a comment: a '#' outside quotes not followed by a digit.
std::string_view uncommented(std::string_view line) {
    bool inQuote = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i;
        } else if (line[i] == '"') {
            inQuote = !inQuote;
        } else if (!inQuote && line[i] == '#' &&
                   !(i + 1 < line.size() &&
                     std::isdigit(static_cast<unsigned char>(line[i + 1])))) {
            return line.substr(0, i);
        }
    }
    return line;
}

// A parameter value: a quoted string, or bare text without blanks; '\'
// escapes the next character. False for junk.
bool parseValue(std::string_view text, std::string& value) {
    text = trimBlanks(text);
    const bool quoted = !text.empty() && text.front() == '"';
    if (quoted) {
        if (text.size() < 2 || text.back() != '"')
            return false;
        text = text.substr(1, text.size() - 2);
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size())
            ++i;
        else if ((!quoted && isBlank(text[i])) || (quoted && text[i] == '"'))
            return false;
        value += text[i];
    }
    return !value.empty() || quoted;
}

class SudoersReader : public AssignmentReader {
public:
    explicit SudoersReader(const KeyQuery& query) : m_Key(query.key), m_AnyScope(query.anyScope) {}

    void at(const std::string& path) override { m_Path = path; }
    // A syntax error anywhere comes before what the values depend on.
    TErrorCode read(std::string_view text) override {
        if (const TErrorCode code = readText(text, m_Path, 0))
            return code;
        return m_ListOperator ? TErrorCode{RC_NOT_PLAIN_ASSIGNMENT}
               : m_Scoped     ? TErrorCode{RC_CONTEXT_NEEDED}
                              : TErrorCode{0};
    }
    Values values() override { return std::move(m_Values); }

private:
    TErrorCode readText(std::string_view text, const std::string& path, int depth) {
        const std::string directory = path.substr(0, path.rfind('/') + 1);
        std::string joined;
        TErrorCode code = 0;
        forEachLine(text, [&](std::string_view line) {
            if (code != 0)
                return;
            // A comment ends at the end of its line, a '\\' in it included.
            const std::string_view first = trimBlanks(line);
            const bool directive = joined.empty() && (startsWord(first, "#include") ||
                                                      startsWord(first, "#includedir"));
            const std::string_view kept = directive ? line : uncommented(line);
            if (kept.size() == line.size() && !kept.empty() && kept.back() == '\\') {
                joined.append(kept.substr(0, kept.size() - 1));
                return;
            }
            joined.append(kept);
            code = readLine(trimBlanks(joined), directory, depth);
            joined.clear();
        });
        if (code == 0 && !joined.empty())
            code = readLine(trimBlanks(joined), directory, depth);
        return code;
    }

    TErrorCode readLine(std::string_view line, const std::string& directory, int depth) {
        for (std::string_view directive : {"@includedir", "#includedir", "@include", "#include"}) {
            if (!startsWord(line, directive))
                continue;
            std::string target;
            if (!parseValue(line.substr(directive.size()), target))
                return RC_REFUSED_BY_PROGRAM;
            if (target.front() != '/')
                target = directory + target;
            return directive.size() == 11 ? includeDirectory(target, depth)
                                          : includeFile(target, depth, false);
        }
        line = uncommented(line);
        line = trimBlanks(line);
        if (line == "Defaults")
            return RC_REFUSED_BY_PROGRAM; // no parameters
        if (line.substr(0, 8) != "Defaults")
            return 0;
        bool scoped = false;
        std::string_view rest = line.substr(8);
        if (rest.front() == ':' || rest.front() == '@' || rest.front() == '>' ||
            rest.front() == '!') {
            scoped = true;
            std::size_t end = 0;
            while (end < rest.size() && !isBlank(rest[end]))
                ++end;
            rest.remove_prefix(end);
        } else if (!isBlank(rest.front())) {
            return 0; // no Defaults line
        }
        if (trimBlanks(rest).empty())
            return RC_REFUSED_BY_PROGRAM;
        return readParameters(rest, scoped);
    }

    TErrorCode readParameters(std::string_view rest, bool scoped) {
        bool inQuote = false;
        std::size_t start = 0;
        for (std::size_t i = 0; i <= rest.size(); ++i) {
            if (i < rest.size() && rest[i] == '\\') {
                ++i;
                continue;
            }
            if (i < rest.size() && rest[i] == '"')
                inQuote = !inQuote;
            if (i < rest.size() && (inQuote || rest[i] != ','))
                continue;
            if (const TErrorCode code =
                    readParameter(trimBlanks(rest.substr(start, i - start)), scoped))
                return code;
            start = i + 1;
        }
        return 0;
    }

    TErrorCode readParameter(std::string_view entry, bool scoped) {
        std::size_t negations = 0;
        while (negations < entry.size() && entry[negations] == '!')
            ++negations;
        entry = trimBlanks(entry.substr(negations));
        std::size_t end = 0;
        while (end < entry.size() &&
               (std::isalnum(static_cast<unsigned char>(entry[end])) || entry[end] == '_'))
            ++end;
        const std::string_view name = entry.substr(0, end);
        std::string_view rest = trimBlanks(entry.substr(end));
        if (name.empty())
            return RC_REFUSED_BY_PROGRAM;
        std::string value;
        bool listOperator = false;
        if (rest.empty()) {
            value = negations % 2 ? "false" : "true";
        } else {
            listOperator = rest.front() == '+' || rest.front() == '-';
            if (listOperator)
                rest.remove_prefix(1);
            if (negations > 0 || rest.empty() || rest.front() != '=' ||
                !parseValue(rest.substr(1), value))
                return RC_REFUSED_BY_PROGRAM;
        }
        if (name != m_Key)
            return 0;
        m_Scoped = m_Scoped || (scoped && !m_AnyScope);
        m_ListOperator = m_ListOperator || (listOperator && !m_AnyScope);
        m_Values.push_back(std::move(value));
        return 0;
    }

    TErrorCode includeFile(const std::string& path, int depth, bool fromDirectory) {
        if (depth + 1 >= kMaxDepth)
            return RC_REFUSED_BY_PROGRAM;
        if (++m_Included > kMaxIncludes)
            return RC_OVER_LIMIT;
        struct stat info {};
        if (stat(path.c_str(), &info) != 0)
            return fromDirectory ? TErrorCode{0} : TErrorCode{RC_REFUSED_BY_PROGRAM};
        if ((info.st_mode & S_IWOTH) || info.st_uid != 0 ||
            ((info.st_mode & S_IWGRP) && info.st_gid != 0))
            return 0; // sudo skips it
        std::string text;
        if (!PluginKit::FileReader::readFile(path, text).ok())
            return RC_REFUSED_BY_PROGRAM;
        return readText(text, path, depth + 1);
    }

    TErrorCode includeDirectory(const std::string& directory, int depth) {
        DIR* listing = opendir(directory.c_str());
        if (!listing && errno == ENOMEM)
            throw std::bad_alloc(); // not a directory sudo cannot open: a failure of ours
        if (!listing)
            return 0; // sudo reads nothing from a directory it cannot open
        std::vector<std::string> names;
        while (const dirent* entry = readdir(listing)) {
            const std::string name = entry->d_name;
            if (name.find('.') == std::string::npos && name.back() != '~')
                names.push_back(name);
        }
        closedir(listing);
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            struct stat info {};
            const std::string path = directory + (directory.back() == '/' ? "" : "/") + name;
            if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
                continue;
            if (const TErrorCode code = includeFile(path, depth, true))
                return code;
        }
        return 0;
    }

    std::string m_Key;
    bool m_AnyScope;
    std::string m_Path;
    Values m_Values;
    int m_Included = 0;
    bool m_Scoped = false;
    bool m_ListOperator = false;
};

} // namespace

bool SudoersAssignments::mainFileRefused(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && ((info.st_mode & S_IWOTH) || info.st_uid != 0);
}

std::unique_ptr<AssignmentReader> SudoersAssignments::make(const KeyQuery& query) {
    return std::make_unique<SudoersReader>(query);
}

} // namespace SystemPlugin
