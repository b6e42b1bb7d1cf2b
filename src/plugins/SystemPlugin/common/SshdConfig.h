// An sshd_config read as sshd 9.x reads it without a connection (`sshd -T`):
// the active lines of one keyword, each split into words as sshd splits them,
// with Include followed where it stands and Match blocks other than
// "Match all" left out. As in sshd, the lines of "Match all" blocks (and of
// files included from them) override the global ones for the keywords a Match
// block may set: sshd applies its matching blocks after the global settings.
// A keyword's other names (ChallengeResponseAuthentication for
// KbdInteractiveAuthentication, ...) count as the keyword.
#pragma once

#include "PluginSDK/Types.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace SystemPlugin {

// Where the reader gets the files an Include names.
class SshdIncludeSource {
public:
    virtual ~SshdIncludeSource() = default;
    // The files `pattern` (absolute, possibly a glob) names, sorted by bytes;
    // none when nothing matches. 0 or a result code.
    virtual TErrorCode expand(const std::string& pattern, std::vector<std::string>& paths) = 0;
    // The text of one included file. 0 or a result code.
    virtual TErrorCode read(const std::string& path, std::string& text) = 0;
};

class SshdConfig {
public:
    // Deeper Include nesting than this is refused, as sshd refuses it.
    static constexpr int kMaxDepth = 16;
    // More included files than this in one reading are refused (-12012): a
    // loop through several globs a level would otherwise take exponential time.
    static constexpr std::size_t kMaxIncludedFiles = 1024;

    // `configDir` is the base of Include paths that do not start with '/'.
    SshdConfig(std::string_view keyword, std::string configDir, SshdIncludeSource& source)
        : m_Keyword(keyword), m_ConfigDir(std::move(configDir)), m_Source(source) {}

    // Reads the text of the file at nesting `depth` (0 for the main file),
    // `inMatchAll` when an Include inside a "Match all" block names it. 0,
    // -12015 past kMaxDepth, -12012 past kMaxIncludedFiles, or the code of an included file that
    // could not be read.
    TErrorCode read(std::string_view text, int depth = 0, bool inMatchAll = false);

    // The words of the lines that set the keyword, in order: those of the
    // "Match all" blocks when there are any and the keyword may be set there,
    // else those of every active line. The first word is the effective value;
    // for additive keywords (AllowUsers, Port, ...) every word counts.
    std::vector<std::string> values() const;

    // Splits one line into its keyword and argument words as sshd does; false
    // when sshd takes no assignment from it (blank, comment, no argument,
    // an unterminated quote).
    static bool splitLine(std::string_view line, std::string& keyword,
                          std::vector<std::string>& words);

private:
    TErrorCode include(const std::vector<std::string>& globs, int depth, bool inMatchAll);

    struct Line {
        std::vector<std::string> words;
        bool inMatchAll;
    };
    std::string m_Keyword;
    std::string m_ConfigDir;
    SshdIncludeSource& m_Source;
    std::vector<Line> m_Lines;
    std::size_t m_Included = 0;
};

} // namespace SystemPlugin
