// Assignments of a file sourced by a POSIX shell (`. /etc/os-release`): only
// simple commands made of assignment words set variables (a command after them
// takes them into its own environment only); `export` sets its assignment
// arguments. Expansions ($VAR, $(...)) are kept as written; a redirection or
// subshell makes the statement set nothing.
#include "SystemPlugin/common/Assignments.h"
#include "SystemPlugin/common/ConfigLines.h"

#include <algorithm>
#include <cstddef>

namespace SystemPlugin {
namespace {

struct Word {
    std::string text;
    // Length of the unquoted NAME before the first unquoted '=', or npos.
    std::size_t nameLength = std::string::npos;
    bool quoted = false;
};

bool isNameStart(char c) {
    return c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isNameChar(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9');
}

// What ends a run of ordinary characters in a word.
constexpr std::string_view kSpecial = " \t\n\r;&|<>()\\'\"=";

bool isOperator(char c) {
    return c == '&' || c == '|' || c == '<' || c == '>' || c == '(' || c == ')';
}

class ShellParser {
public:
    ShellParser(std::string_view text, const KeyQuery& query, Values& values)
        : m_Text(text), m_Query(query), m_Values(values) {}

    void run() {
        std::vector<Word> words;
        bool command = true; // the statement so far can set variables
        while (m_Pos < m_Text.size()) {
            const char c = m_Text[m_Pos];
            if (isBlank(c) || (c == '\r' && next() == '\n')) {
                ++m_Pos;
            } else if (c == '\\' && next() == '\n') {
                m_Pos += 2;
            } else if (c == '\n' || c == ';') {
                ++m_Pos;
                finish(words, command);
                command = true;
            } else if (c == '#') {
                while (m_Pos < m_Text.size() && m_Text[m_Pos] != '\n')
                    ++m_Pos;
            } else if ((c == '&' || c == '|') && next() == c) {
                // "A=1 && B=2" sets both; after "A=1 ||" the rest never runs.
                m_Pos += 2;
                finish(words, command);
                command = c == '&';
            } else if (c == '&' || c == '|') {
                // Backgrounded or piped: a subshell takes the assignments.
                ++m_Pos;
                finish(words, false);
                command = c == '&';
            } else if (isOperator(c)) {
                ++m_Pos;
                command = false;
            } else {
                Word word;
                if (!readWord(word))
                    return; // an unterminated quote: the shell stops here
                words.push_back(std::move(word));
            }
        }
        finish(words, command);
    }

private:
    char next() const { return m_Pos + 1 < m_Text.size() ? m_Text[m_Pos + 1] : '\0'; }

    static bool isAssignment(const Word& word) { return word.nameLength != std::string::npos; }

    void finish(std::vector<Word>& words, bool command) {
        if (command && !words.empty()) {
            const bool exported = !words.front().quoted && words.front().text == "export";
            bool allAssignments = true;
            for (std::size_t i = exported ? 1 : 0; i < words.size(); ++i)
                allAssignments = allAssignments && isAssignment(words[i]);
            if (exported || allAssignments)
                for (const Word& word : words)
                    take(word);
        }
        words.clear();
    }

    void take(const Word& word) {
        if (!isAssignment(word) ||
            std::string_view(word.text).substr(0, word.nameLength) != m_Query.key)
            return;
        m_Values.push_back(word.text.substr(word.nameLength + 1));
    }

    // Reads one word from m_Pos; false at an unterminated quote.
    bool readWord(Word& word) {
        std::string& out = word.text;
        while (m_Pos < m_Text.size()) {
            const char c = m_Text[m_Pos];
            if (isBlank(c) || c == '\n' || c == ';' || isOperator(c) ||
                (c == '\r' && next() == '\n'))
                break;
            if (c == '\\') {
                word.quoted = true;
                if (next() != '\n' && m_Pos + 1 < m_Text.size())
                    out += m_Text[m_Pos + 1];
                m_Pos += m_Pos + 1 < m_Text.size() ? 2 : 1;
            } else if (c == '\'') {
                word.quoted = true;
                const std::size_t close = m_Text.find('\'', m_Pos + 1);
                if (close == std::string_view::npos)
                    return false;
                out.append(m_Text.substr(m_Pos + 1, close - m_Pos - 1));
                m_Pos = close + 1;
            } else if (c == '"') {
                word.quoted = true;
                if (!readDoubleQuoted(out))
                    return false;
            } else if (c == '=') {
                if (!word.quoted && word.nameLength == std::string::npos && isName(out))
                    word.nameLength = out.size();
                out += c;
                ++m_Pos;
            } else {
                // This character and the ordinary ones after it.
                const std::size_t end =
                    std::min(m_Text.size(), m_Text.find_first_of(kSpecial, m_Pos + 1));
                out.append(m_Text.substr(m_Pos, end - m_Pos));
                m_Pos = end;
            }
        }
        return true;
    }

    static bool isName(const std::string& text) {
        if (text.empty() || !isNameStart(text[0]))
            return false;
        for (char c : text)
            if (!isNameChar(c))
                return false;
        return true;
    }

    // From the opening '"' at m_Pos to just after the closing one.
    bool readDoubleQuoted(std::string& out) {
        ++m_Pos;
        while (m_Pos < m_Text.size()) {
            const char c = m_Text[m_Pos];
            if (c == '"') {
                ++m_Pos;
                return true;
            }
            if (c == '\\') {
                const char escaped = next();
                if (escaped == '\n') {
                    m_Pos += 2;
                    continue;
                }
                if (escaped == '"' || escaped == '\\' || escaped == '$' || escaped == '`') {
                    out += escaped;
                    m_Pos += 2;
                    continue;
                }
            }
            const std::size_t end =
                std::min(m_Text.size(), m_Text.find_first_of("\"\\", m_Pos + 1));
            out.append(m_Text.substr(m_Pos, end - m_Pos));
            m_Pos = end;
        }
        return false;
    }

    std::string_view m_Text;
    const KeyQuery& m_Query;
    Values& m_Values;
    std::size_t m_Pos = 0;
};

} // namespace

void readShellAssignments(std::string_view text, const KeyQuery& query, Values& values) {
    ShellParser(text, query, values).run();
}

} // namespace SystemPlugin
