// Assignments of a file sourced by a POSIX shell (`. /etc/os-release`), read
// without running it. A plain assignment is a statement of assignment words
// only (or `export` with assignment words and names), at the top level,
// between line ends or ';', without redirection. Its value may refer to
// variables (`$NAME`, `${NAME}`) set by earlier plain assignments of the file.
// Anything else could change a variable in ways only running the file shows:
// a key named by any other statement (`unset`, `if`, `&&`, a here-document, a
// redirection, a command prefix), a value with any other expansion, a command
// that reads, ends or alters the sourcing (`.`, `eval`, `exit`, `set`...) or a
// syntax this reader does not follow answers -12030.
#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/Assignments.h"
#include "SystemPlugin/common/ConfigLines.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace SystemPlugin {
namespace {

bool isNameStart(char c) {
    return c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isNameChar(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9');
}

bool isName(std::string_view text) {
    return !text.empty() && isNameStart(text[0]) &&
           std::all_of(text.begin(), text.end(), isNameChar);
}

bool isOperatorChar(char c) {
    return c == ';' || c == '&' || c == '|' || c == '(' || c == ')' || c == '<' || c == '>';
}

// Commands whose effect on the variables, or on whether the rest of the file
// runs, cannot be known without running them.
constexpr std::string_view kOpaqueCommands[] = {
    ".",     "source",  "eval",    "exit",   "return", "exec",    "set",     "trap",
    "alias", "command", "builtin", "enable", "shopt",  "unalias", "function"};

// Commands that may make a variable read-only: a later assignment to it
// fails, which one shell survives and another does not.
constexpr std::string_view kProtectingCommands[] = {"readonly", "declare", "typeset", "local"};

// Reserved words that open and close compound commands.
constexpr std::string_view kOpeners[] = {"if", "case", "for", "while", "until", "select", "{"};
constexpr std::string_view kClosers[] = {"fi", "esac", "done", "}"};

bool isOneOf(std::string_view word, const std::string_view* first, const std::string_view* last) {
    return std::find(first, last, word) != last;
}

// A piece of a word's value: literal text, or a variable to expand.
struct Piece {
    std::string text;
    bool variable = false;
};

struct Word {
    std::vector<Piece> pieces;
    std::string_view raw;                       // as written (for the names a statement mentions)
    std::size_t nameLength = std::string::npos; // of NAME in an unquoted "NAME=" start
    bool quoted = false;
    bool unknowable = false; // an expansion only running the file would give

    // The text of a word that is one piece of literal text, else "".
    std::string_view plain() const {
        return pieces.size() == 1 && !pieces[0].variable && !unknowable ? pieces[0].text
                                                                        : std::string_view();
    }
    std::string literal() const {
        std::string out;
        for (const Piece& piece : pieces)
            out += piece.variable ? "$" + piece.text : piece.text;
        return out;
    }
    void addText(std::string_view text) {
        if (pieces.empty() || pieces.back().variable)
            pieces.push_back(Piece{});
        pieces.back().text.append(text);
    }
};

class ShellParser {
public:
    ShellParser(std::string_view text, const KeyQuery& query, Values& values)
        : m_Text(text), m_Query(query), m_Values(values) {}

    TErrorCode run() {
        std::vector<Word> words;
        bool plain = true; // the statement so far can be a plain assignment
        bool commandPosition = true;
        while (m_Pos < m_Text.size() && !m_Opaque) {
            const char c = m_Text[m_Pos];
            if (isBlank(c)) {
                ++m_Pos;
            } else if (c == '\\' && next() == '\n') {
                m_Pos += 2;
            } else if (c == '#') {
                while (m_Pos < m_Text.size() && m_Text[m_Pos] != '\n')
                    ++m_Pos;
            } else if (c == '\n') {
                ++m_Pos;
                finish(words, plain);
                readHereDocuments();
                plain = true;
                commandPosition = true;
            } else if (isOperatorChar(c)) {
                const std::string_view op = readOperator();
                const bool ends = op == ";" || op == ";;";
                finish(words, plain && op == ";");
                plain = ends && m_Depth.empty();
                commandPosition = true;
                if (op == "(")
                    m_Depth.push_back("(");
                else if (op == ")" && !m_Depth.empty() && m_Depth.back() == "(")
                    m_Depth.pop_back();
                else if (op == ")" && (m_Depth.empty() || m_Depth.back() != "case"))
                    m_Opaque = true;
                else if (op == "<<" || op == "<<-")
                    m_Pending.emplace_back(op == "<<-", std::string());
            } else {
                Word word;
                if (!readWord(word))
                    m_Opaque = true; // an unterminated quote or expansion
                if (m_AwaitDelimiter)
                    m_Pending.back().second = word.literal();
                else
                    commandPosition = reserved(word, commandPosition);
                m_AwaitDelimiter = false;
                plain = plain && m_Depth.empty();
                words.push_back(std::move(word));
            }
        }
        finish(words, plain);
        if (!m_Depth.empty() || !m_Pending.empty())
            m_Opaque = true;
        if (m_Opaque || m_Uncertain.count(std::string(m_Query.key)) != 0)
            return RC_NOT_PLAIN_ASSIGNMENT;
        return 0;
    }

private:
    char next() const { return m_Pos + 1 < m_Text.size() ? m_Text[m_Pos + 1] : '\0'; }

    std::string_view readOperator() {
        static constexpr std::string_view kOperators[] = {"<<-", "&&", "||", ";;", "<<", ">>",
                                                          "<&",  ">&", "<>", ">|", "&>"};
        m_AwaitDelimiter = false;
        for (std::string_view op : kOperators)
            if (m_Text.substr(m_Pos, op.size()) == op) {
                m_Pos += op.size();
                m_AwaitDelimiter = op == "<<" || op == "<<-";
                return op;
            }
        return m_Text.substr(m_Pos++, 1);
    }

    // Updates the nesting for a reserved word; whether the next word is in
    // command position.
    bool reserved(const Word& word, bool commandPosition) {
        if (word.quoted || !commandPosition)
            return false;
        const std::string_view text = word.plain();
        if (isOneOf(text, std::begin(kOpeners), std::end(kOpeners))) {
            m_Depth.emplace_back(text);
            return text == "if" || text == "while" || text == "until" || text == "{";
        }
        if (isOneOf(text, std::begin(kClosers), std::end(kClosers))) {
            if (m_Depth.empty() || m_Depth.back() == "(")
                m_Opaque = true;
            else
                m_Depth.pop_back();
            return false;
        }
        return text == "then" || text == "else" || text == "elif" || text == "do" || text == "!";
    }

    // The bodies of the here-documents the line just ended opened: their
    // names are mentioned, as expansions in them run.
    void readHereDocuments() {
        for (auto& [stripTabs, delimiter] : m_Pending) {
            bool closed = false;
            while (m_Pos < m_Text.size() && !closed) {
                const std::size_t end = std::min(m_Text.find('\n', m_Pos), m_Text.size());
                std::string_view line = m_Text.substr(m_Pos, end - m_Pos);
                m_Pos = std::min(end + 1, m_Text.size());
                if (stripTabs)
                    line.remove_prefix(std::min(line.size(), line.find_first_not_of('\t')));
                closed = line == delimiter;
                if (!closed)
                    mention(line);
            }
            if (delimiter.empty())
                m_Opaque = true;
        }
        m_Pending.clear();
    }

    // Every name in `text` may change in ways only running the file shows.
    void mention(std::string_view text) {
        for (std::size_t i = 0; i < text.size();) {
            if (!isNameStart(text[i]) || (i > 0 && isNameChar(text[i - 1]))) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < text.size() && isNameChar(text[end]))
                ++end;
            m_Uncertain.emplace(text.substr(i, end - i));
            m_Known.erase(std::string(text.substr(i, end - i)));
            i = end;
        }
    }

    static bool isAssignment(const Word& word) { return word.nameLength != std::string::npos; }

    void finish(std::vector<Word>& words, bool plain) {
        if (words.empty())
            return;
        const Word& first = words.front();
        const std::size_t command =
            static_cast<std::size_t>(std::find_if(words.begin(), words.end(),
                                                  [](const Word& w) { return !isAssignment(w); }) -
                                     words.begin());
        if (command < words.size() && !words[command].quoted &&
            isOneOf(words[command].plain(), std::begin(kOpaqueCommands), std::end(kOpaqueCommands)))
            m_Opaque = true;
        const bool exported = !first.quoted && first.plain() == "export";
        bool allPlain = plain;
        for (std::size_t i = exported ? 1 : 0; i < words.size(); ++i)
            allPlain = allPlain && (isAssignment(words[i]) ||
                                    (exported && !words[i].quoted && isName(words[i].literal())));
        const bool protects = command < words.size() &&
                              isOneOf(words[command].plain(), std::begin(kProtectingCommands),
                                      std::end(kProtectingCommands));
        if (!allPlain) {
            for (const Word& word : words) {
                mention(word.raw);
                if (protects)
                    m_Protected.emplace(word.plain().substr(0, word.plain().find('=')));
            }
        } else {
            for (const Word& word : words)
                if (isAssignment(word))
                    assign(word);
        }
        words.clear();
    }

    void assign(const Word& word) {
        const std::string name = word.pieces.front().text.substr(0, word.nameLength);
        if (m_Protected.count(name) != 0)
            m_Opaque = true; // the assignment may fail, and stop the file

        std::optional<std::string> value = std::string();
        bool first = true;
        for (const Piece& piece : word.pieces) {
            std::string_view text = piece.text;
            if (first && !piece.variable)
                text.remove_prefix(word.nameLength + 1);
            first = false;
            if (!piece.variable) {
                value->append(text);
                continue;
            }
            const auto known = m_Known.find(piece.text);
            if (known == m_Known.end()) {
                value.reset();
                break;
            }
            value->append(known->second);
        }
        if (word.unknowable || !value) {
            m_Known.erase(name);
            m_Uncertain.insert(name);
        } else {
            m_Known[name] = *value;
        }
        if (name == m_Query.key && value && !word.unknowable)
            m_Values.push_back(*value);
    }

    // An expansion at m_Pos ('$' or '`'), outside single quotes.
    bool readExpansion(Word& word) {
        if (m_Text[m_Pos] == '`')
            return skipTo('`', word);
        const char after = next();
        if (isNameStart(after)) {
            std::size_t end = m_Pos + 1;
            while (end < m_Text.size() && isNameChar(m_Text[end]))
                ++end;
            word.pieces.push_back(
                Piece{std::string(m_Text.substr(m_Pos + 1, end - m_Pos - 1)), true});
            m_Pos = end;
            return true;
        }
        if (after == '{') {
            const std::size_t close = m_Text.find('}', m_Pos);
            if (close == std::string_view::npos)
                return false;
            const std::string_view inside = m_Text.substr(m_Pos + 2, close - m_Pos - 2);
            if (isName(inside))
                word.pieces.push_back(Piece{std::string(inside), true});
            else
                word.unknowable = true;
            m_Pos = close + 1;
            return true;
        }
        if (after == '(') {
            ++m_Pos;
            return skipTo(')', word);
        }
        if (isNameChar(after) || (after != '\0' && std::string_view("@*#?-$!'\"").find(after) !=
                                                       std::string_view::npos)) {
            word.unknowable = true;
            m_Pos += 2;
            return true;
        }
        word.addText("$");
        ++m_Pos;
        return true;
    }

    // From an opening '`' or '(' at m_Pos to its closing `close` (nested
    // parentheses counted): an expansion only running the file gives. A '#'
    // starting a word inside is a comment to some shells and not to others:
    // they then read the rest of the file differently.
    bool skipTo(char close, Word& word) {
        word.unknowable = true;
        int depth = 0;
        for (++m_Pos; m_Pos < m_Text.size(); ++m_Pos) {
            const char c = m_Text[m_Pos];
            const char before = m_Text[m_Pos - 1];
            if (c == '#' && (isBlank(before) || before == '(' || before == '\n'))
                m_Opaque = true;
            if (c == '\\')
                ++m_Pos;
            else if (close == ')' && c == '(')
                ++depth;
            else if (c == close && depth-- == 0)
                break;
        }
        if (m_Pos >= m_Text.size())
            return false;
        ++m_Pos;
        return true;
    }

    // Reads one word from m_Pos; false at an unterminated quote or expansion.
    bool readWord(Word& word) {
        const std::size_t start = m_Pos;
        bool ok = true;
        while (ok && m_Pos < m_Text.size()) {
            const char c = m_Text[m_Pos];
            if (isBlank(c) || c == '\n' || isOperatorChar(c))
                break;
            if (c == '\\') {
                word.quoted = true;
                if (next() != '\n' && m_Pos + 1 < m_Text.size())
                    word.addText(m_Text.substr(m_Pos + 1, 1));
                m_Pos += 2;
            } else if (c == '\'') {
                word.quoted = true;
                const std::size_t close = m_Text.find('\'', m_Pos + 1);
                ok = close != std::string_view::npos;
                if (ok)
                    word.addText(m_Text.substr(m_Pos + 1, close - m_Pos - 1));
                m_Pos = ok ? close + 1 : m_Text.size();
            } else if (c == '"') {
                word.quoted = true;
                ok = readDoubleQuoted(word);
            } else if (c == '$' || c == '`') {
                ok = readExpansion(word);
            } else if (c == '=' && !word.quoted && !word.unknowable &&
                       word.nameLength == std::string::npos && word.pieces.size() == 1 &&
                       !word.pieces[0].variable && isName(word.pieces[0].text)) {
                word.nameLength = word.pieces[0].text.size();
                word.addText("=");
                ++m_Pos;
            } else {
                // This character and the ordinary ones after it.
                const std::size_t end = std::min(
                    m_Text.size(), m_Text.find_first_of(" \t\n;&|()<>\\'\"$`=", m_Pos + 1));
                word.addText(m_Text.substr(m_Pos, end - m_Pos));
                m_Pos = end;
            }
        }
        word.raw = m_Text.substr(start, std::min(m_Pos, m_Text.size()) - start);
        return ok;
    }

    // From the opening '"' at m_Pos to just after the closing one.
    bool readDoubleQuoted(Word& word) {
        ++m_Pos;
        while (m_Pos < m_Text.size()) {
            const char c = m_Text[m_Pos];
            if (c == '"') {
                ++m_Pos;
                return true;
            }
            if (c == '$' || c == '`') {
                if (!readExpansion(word))
                    return false;
                continue;
            }
            if (c == '\\' && std::string_view("\"\\$`\n").find(next()) != std::string_view::npos) {
                if (next() != '\n')
                    word.addText(m_Text.substr(m_Pos + 1, 1));
                m_Pos += 2;
                continue;
            }
            word.addText(m_Text.substr(m_Pos, 1));
            ++m_Pos;
        }
        return false;
    }

    std::string_view m_Text;
    const KeyQuery& m_Query;
    Values& m_Values;
    std::size_t m_Pos = 0;
    bool m_Opaque = false;
    bool m_AwaitDelimiter = false;
    std::vector<std::string> m_Depth;
    std::vector<std::pair<bool, std::string>> m_Pending; // here-documents: <<-, delimiter
    std::map<std::string, std::string> m_Known;          // values of plain assignments
    std::set<std::string> m_Uncertain;
    std::set<std::string, std::less<>> m_Protected;
};

} // namespace

TErrorCode readShellAssignments(std::string_view text, const KeyQuery& query, Values& values) {
    return ShellParser(text, query, values).run();
}

} // namespace SystemPlugin
