// apt.conf as apt reads it. Per line, outside double quotes: "//" and a '#'
// that does not start "#clear" or "#include" end the line; "/* ... */" is
// dropped, across lines too. The rest is cut into statements ending at ';',
// '{' or '}' (a statement may span lines; quotes do not). A statement is a
// tag and a value: `A::B "v";`, `A { B "v"; };` (tags nest), a lone word is a
// list item. Values are quoted strings joined by one space, or one bare word;
// there are no escapes. Tags compare without regard to case. "#clear TAG"
// drops what was set below TAG, "#include PATH" reads a file, or the parts of
// a directory when PATH ends in '/'. apt refuses a file with text after its
// last statement, a value with junk after it, a relative or missing include,
// and includes nested too deep; an include of a directory without the '/'
// never returns in apt. All of these are -12029 here.
#include "SystemPlugin/common/AptAssignments.h"

#include "PluginKit/FileReader.h"
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ConfigLines.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <memory>

namespace SystemPlugin {
namespace {

// apt stops at this include depth ("Too many nested includes").
// Files included in all, so that includes fanning out cannot take
// forever (their program would not finish either): -12012 beyond it.
constexpr int kMaxIncludes = 4096;
constexpr int kMaxDepth = 12; // a file 11 includes deep includes no more

bool sameTag(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The line without its comments; `inComment` carries a "/*" over lines.
std::string uncommented(std::string_view line, bool& inComment) {
    bool inQuote = false;
    std::size_t end = line.size();
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            inQuote = !inQuote;
        if (inQuote)
            continue;
        const std::string_view rest = line.substr(i);
        if (startsWith(rest, "//") ||
            (line[i] == '#' && !startsWith(rest, "#clear") && !startsWith(rest, "#include"))) {
            end = i;
            break;
        }
    }
    std::string kept;
    inQuote = false;
    for (std::size_t i = 0; i < end; ++i) {
        if (inComment) {
            if (line.substr(i, 2) == "*/") {
                inComment = false;
                ++i;
            }
            continue;
        }
        if (line[i] == '"')
            inQuote = !inQuote;
        if (!inQuote && line.substr(i, 2) == "/*") {
            inComment = true;
            ++i;
            continue;
        }
        kept += line[i];
    }
    return kept;
}

// The first word of `text` (up to blank space outside quotes) without its
// quotes; false for a quote left open.
bool firstWord(std::string_view& text, std::string& word) {
    bool inQuote = false;
    std::size_t i = 0;
    for (; i < text.size() && (inQuote || !isSpace(text[i])); ++i) {
        if (text[i] == '"')
            inQuote = !inQuote;
        else
            word += text[i];
    }
    text = trimSpaces(text.substr(i));
    return !inQuote;
}

// A value: either quoted strings only, each blank run between them read as
// one space; or one word (no blank outside quotes) whose quotes are dropped.
// Anything else is junk after the value.
bool parseValue(std::string_view text, std::string& value) {
    bool quotedOnly = true;
    for (std::size_t i = 0; i < text.size() && quotedOnly; ++i) {
        if (text[i] == '"') {
            const std::size_t close = text.find('"', i + 1);
            quotedOnly = close != std::string_view::npos;
            if (quotedOnly)
                value.append(text.substr(i + 1, close - i - 1));
            i = close;
        } else if (isSpace(text[i])) {
            while (i + 1 < text.size() && isSpace(text[i + 1]))
                ++i;
            value += ' ';
        } else {
            quotedOnly = false;
        }
    }
    if (quotedOnly)
        return true;
    value.clear();
    return firstWord(text, value) && text.empty();
}

class AptReader : public AssignmentReader {
public:
    explicit AptReader(const KeyQuery& query) : m_Key(query.key) {}

    TErrorCode read(std::string_view text) override { return readText(text, 0); }
    Values values() override { return std::move(m_Values); }

private:
    TErrorCode readText(std::string_view text, int depth) {
        std::vector<std::string> stack;
        std::string pending;
        bool inComment = false;
        while (!text.empty()) {
            const std::size_t newline = text.find('\n');
            const std::string_view line = text.substr(0, newline);
            text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
            const std::string kept = uncommented(upToNul(line), inComment);
            bool inQuote = false;
            std::size_t start = 0;
            for (std::size_t i = 0; i < kept.size(); ++i) {
                if (kept[i] == '"')
                    inQuote = !inQuote;
                if (inQuote || (kept[i] != ';' && kept[i] != '{' && kept[i] != '}'))
                    continue;
                pending.append(kept, start, i - start);
                const TErrorCode code = statement(trimSpaces(pending), kept[i], stack, depth);
                if (code != 0)
                    return code;
                pending.clear();
                start = i + 1;
            }
            pending.append(kept, start, std::string::npos);
            pending += ' ';
        }
        return trimSpaces(pending).empty() ? TErrorCode{0} : TErrorCode{RC_REFUSED_BY_PROGRAM};
    }

    TErrorCode statement(std::string_view text, char end, std::vector<std::string>& stack,
                         int depth) {
        if (text.empty()) {
            if (end == '{')
                return RC_REFUSED_BY_PROGRAM; // a block without a name
            if (end == '}' && !stack.empty())
                stack.pop_back();
            return 0;
        }
        std::string tag;
        std::string value;
        bool hasValue = true;
        if (!firstWord(text, tag))
            return RC_REFUSED_BY_PROGRAM;
        if (!text.empty()) {
            if (!parseValue(text, value))
                return RC_REFUSED_BY_PROGRAM;
        } else if (end == '{' || tag == "#clear" || tag == "#include") {
            if (tag == "#clear" || tag == "#include")
                return RC_REFUSED_BY_PROGRAM; // a directive without its argument
            hasValue = false;
        } else {
            value = std::move(tag); // a list item
            tag.clear();
        }
        std::string key;
        for (const std::string& level : stack)
            key += level + "::";
        key += tag;
        if ((tag == "#clear" || tag == "#include") && !stack.empty())
            return RC_REFUSED_BY_PROGRAM; // directives only at the top level
        if (tag == "#clear") {
            if (sameTag(value, m_Key) ||
                (value.size() < m_Key.size() && sameTag(m_Key.substr(0, value.size()), value) &&
                 m_Key.substr(value.size(), 2) == "::"))
                m_Values.clear();
        } else if (tag == "#include") {
            if (const TErrorCode code = include(value, depth))
                return code;
        } else if (!tag.empty() && hasValue && sameTag(key, m_Key)) {
            m_Values.push_back(value);
        }
        if (end == '{')
            stack.push_back(tag);
        else if (end == '}' && !stack.empty())
            stack.pop_back();
        return 0;
    }

    TErrorCode include(const std::string& path, int depth) {
        if (depth + 1 >= kMaxDepth || path.empty() || path.front() != '/')
            return RC_REFUSED_BY_PROGRAM;
        if (++m_Included > kMaxIncludes)
            return RC_OVER_LIMIT;
        std::vector<std::string> files;
        if (path.back() == '/') {
            struct stat info {};
            if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
                !AptAssignments::parts(path, files).ok())
                return RC_REFUSED_BY_PROGRAM;
        } else {
            files.push_back(path);
        }
        std::string text;
        for (const std::string& file : files) {
            if (!PluginKit::FileReader::readFile(file, text).ok())
                return RC_REFUSED_BY_PROGRAM;
            if (const TErrorCode code = readText(text, depth + 1))
                return code;
        }
        return 0;
    }

    std::string m_Key;
    Values m_Values;
    int m_Included = 0;
};

bool partName(const std::string& name) {
    if (name.empty() || name.front() == '.' || name.back() == '.')
        return false;
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && name.compare(dot + 1, std::string::npos, "conf") != 0)
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == ':' ||
               c == '.';
    });
}

} // namespace

PluginKit::FileOutcome AptAssignments::parts(const std::string& directory,
                                             std::vector<std::string>& paths) {
    DIR* listing = opendir(directory.c_str());
    if (!listing)
        return errno == ENOENT ? PluginKit::FileOutcome::success()
                               : PluginKit::FileOutcome::fromErrno(errno);
    std::vector<std::string> found;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        const std::string path = directory + (directory.back() == '/' ? "" : "/") + name;
        struct stat info {};
        if (partName(name) && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            found.push_back(path);
    }
    closedir(listing);
    std::sort(found.begin(), found.end());
    paths.insert(paths.end(), found.begin(), found.end());
    return PluginKit::FileOutcome::success();
}

std::unique_ptr<AssignmentReader> AptAssignments::make(const KeyQuery& query) {
    return std::make_unique<AptReader>(query);
}

} // namespace SystemPlugin
