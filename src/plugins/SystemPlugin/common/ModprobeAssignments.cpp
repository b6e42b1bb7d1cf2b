// modprobe.d files as libkmod reads them. A line ending in '\' goes on in the
// next; a line whose first byte is '#' is a comment (an indented '#' is a bad
// line); words are split at spaces and tabs. The keys are the command and its
// module, "install cramfs", "blacklist usb-storage", "options loop",
// "alias net-pf-31", with '-' and '_' equal in the module. What a command
// takes after its module is its value (without the blanks around it);
// "blacklist" gives "true"; tabs in "options" read as spaces. The first "install" or "remove" of a
// module is the one modprobe runs; "options" lines all apply, in order. A line libkmod calls bad
// (an unknown command, a missing word) is ignored, as libkmod ignores it.
#include "SystemPlugin/common/Assignments.h"
#include "SystemPlugin/common/ConfigLines.h"

#include <strings.h>

#include <algorithm>

namespace SystemPlugin {
namespace {

// A module name as libkmod compares it: '-' is '_' (outside a bracket
// expression of an alias pattern).
std::string normalModule(std::string_view name) {
    std::string normal(name);
    int depth = 0;
    for (char& c : normal) {
        if (c == '[')
            ++depth;
        else if (c == ']' && depth > 0)
            --depth;
        else if (c == '-' && depth == 0)
            c = '_';
    }
    return normal;
}

std::string_view nextWord(std::string_view& rest) {
    while (!rest.empty() && isBlank(rest.front()))
        rest.remove_prefix(1);
    std::size_t end = 0;
    while (end < rest.size() && !isBlank(rest[end]))
        ++end;
    const std::string_view word = rest.substr(0, end);
    // strtok ends a word at one delimiter, which it consumes.
    rest.remove_prefix(end < rest.size() ? end + 1 : end);
    return word;
}

// The commands that take a module and the rest of the line.
constexpr std::string_view kWithRest[] = {"install", "remove", "options", "softdep"};

class ModprobeReader : public AssignmentReader {
public:
    explicit ModprobeReader(const KeyQuery& query) {
        std::string_view key = query.key;
        m_Command = std::string(nextWord(key));
        m_Module = normalModule(trimBlanks(key));
        m_FirstWins = m_Command == "install" || m_Command == "remove";
    }

    TErrorCode read(std::string_view text) override {
        std::string joined;
        forEachLine(text, [&](std::string_view line) {
            if (!line.empty() && line.back() == '\\') {
                joined.append(line.substr(0, line.size() - 1));
                return;
            }
            joined.append(line);
            readLine(joined);
            joined.clear();
        });
        if (!joined.empty())
            readLine(joined);
        return 0;
    }

    Values values() override { return std::move(m_Values); }

private:
    void readLine(std::string_view line) {
        line = upToNul(line);
        if (line.empty() || line.front() == '#')
            return;
        std::string_view rest = line;
        const std::string_view command = nextWord(rest);
        const std::string_view module = nextWord(rest);
        if (command != m_Command || module.empty() || normalModule(module) != m_Module)
            return;
        std::string value;
        if (command == "blacklist") {
            value = "true";
        } else if (command == "alias") {
            const std::string_view target = nextWord(rest);
            if (target.empty())
                return;
            value = normalModule(target);
        } else {
            bool known = false;
            for (std::string_view name : kWithRest)
                known = known || name == command;
            if (!known || rest.empty())
                return;
            value = std::string(trimBlanks(rest));
            // libkmod keeps options with their tabs made spaces.
            if (command == "options")
                std::replace(value.begin(), value.end(), '\t', ' ');
        }
        if (!m_FirstWins || m_Values.empty())
            m_Values.push_back(std::move(value));
    }

    std::string m_Command;
    std::string m_Module;
    bool m_FirstWins = false;
    Values m_Values;
};

} // namespace

std::unique_ptr<AssignmentReader> makeModprobeReader(const KeyQuery& query) {
    return std::make_unique<ModprobeReader>(query);
}

} // namespace SystemPlugin
