// An sshd_config read as OpenSSH 9.2's sshd reads it: every line checked as
// sshd checks it (a file sshd refuses to start with is refused here too),
// Include followed where it stands (inside Match blocks too), and the value of
// a keyword for a connection found as `sshd -T -C` finds it: sshd reads the
// files once for the global settings (with the "Match all" blocks), then again
// for the Match blocks the connection matches, whose first values replace the
// global ones for the keywords a Match block may set. A keyword's other names
// (ChallengeResponseAuthentication for KbdInteractiveAuthentication, ...)
// count as the keyword.
#pragma once

#include "PluginSDK/Types.h"
#include "SystemPlugin/common/SshdMatch.h"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace SystemPlugin {

// Where the reader gets the files an Include names.
class SshdIncludeSource {
public:
    virtual ~SshdIncludeSource() = default;
    // The files `pattern` (possibly a glob) names, sorted by bytes; none when
    // nothing matches. 0 or a result code.
    virtual TErrorCode expand(const std::string& pattern, std::vector<std::string>& paths) = 0;
    // The text of one included file. 0 or a result code.
    virtual TErrorCode read(const std::string& path, std::string& text) = 0;
};

class SshdConfig {
public:
    // Deeper Include nesting than this is refused, as sshd refuses it.
    static constexpr int kMaxDepth = 16;
    // More files read through includes than this in one reading are refused
    // (-12012): a tree of globs could otherwise take exponential time.
    static constexpr std::size_t kMaxIncludedFiles = 1024;
    // More text than this in all the files of one reading is refused (-12012):
    // every line is kept until the reading ends.
    static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;

    // `configDir` is the base of Include paths that do not start with '/'.
    SshdConfig(std::string configDir, SshdIncludeSource& source)
        : m_ConfigDir(std::move(configDir)), m_Source(source) {}

    // Reads the main file `path` holding `text`, with everything it includes:
    // 0; -12029 for a file sshd refuses (`why` tells); -12015 past kMaxDepth;
    // -12012 past kMaxIncludedFiles or kMaxBytes; or the code of an included
    // file that could not be read.
    TErrorCode read(const std::string& path, std::string_view text, std::string& why);

    // The words of the lines that set `keyword` for the connection `mode`
    // asks about, the effective line's first: with Mode::Unset those that
    // count without a connection (-12028 when a Match block other than
    // "Match all" sets the keyword, or a Match LocalPort exists); with
    // Mode::Any those of every line anywhere; with Mode::Connection those
    // that count for `connection` (-12028 when a Match LocalPort needs a port
    // it does not give).
    TErrorCode values(std::string_view keyword, SshdMatch::Mode mode,
                      const SshdMatch::Connection& connection, std::vector<std::string>& words,
                      std::string& why) const;

private:
    struct Entry {
        enum class Kind { Setting, Match, Include } kind = Kind::Setting;
        std::string keyword; // canonical, for Setting
        bool allowedInMatch = false;
        std::vector<std::string> words; // Setting: its arguments; Match: its criteria
        std::vector<std::size_t> files; // Include: the files, in order
    };
    struct Pass;
    struct Survey;

    TErrorCode parseFile(const std::string& path, std::string_view text, int depth,
                         std::size_t& index, std::string& why);
    TErrorCode parseLine(std::string_view line, int depth, std::vector<Entry>& entries,
                         std::string& why);
    void walk(std::size_t file, int depth, bool matchOnly, bool neverMatch, bool& active,
              Pass& pass) const;
    TErrorCode collect(std::string_view keyword, const SshdMatch::Connection* connection,
                       std::vector<const Entry*>& lines, std::string& why) const;

    std::string m_ConfigDir;
    SshdIncludeSource& m_Source;
    std::vector<std::vector<Entry>> m_Files;                     // [0] the main file
    std::map<std::string, std::size_t> m_ByPath;                 // files read, by path
    std::map<std::string, std::vector<std::size_t>> m_ByPattern; // globs expanded
    std::size_t m_Bytes = 0;                                     // the text of the files read
};

} // namespace SystemPlugin
