// sshd_config reading: sshd's own keyword delimiting, word splitting, Include
// and Match rules.
#include "SystemPlugin/common/SshdConfig.h"

#include "SystemPlugin/ResultCodes.h"
#include "SystemPlugin/common/ConfigLines.h"

#include <strings.h>

#include <utility>

namespace SystemPlugin {
namespace {

constexpr std::string_view kWhitespace = " \t\r\n";

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// The keywords a Match block may set (sshd_config(5)).
constexpr std::string_view kMatchKeywords[] = {"AcceptEnv",
                                               "AllowAgentForwarding",
                                               "AllowGroups",
                                               "AllowStreamLocalForwarding",
                                               "AllowTcpForwarding",
                                               "AllowUsers",
                                               "AuthenticationMethods",
                                               "AuthorizedKeysCommand",
                                               "AuthorizedKeysCommandUser",
                                               "AuthorizedKeysFile",
                                               "AuthorizedPrincipalsCommand",
                                               "AuthorizedPrincipalsCommandUser",
                                               "AuthorizedPrincipalsFile",
                                               "Banner",
                                               "CASignatureAlgorithms",
                                               "ChannelTimeout",
                                               "ChrootDirectory",
                                               "ClientAliveCountMax",
                                               "ClientAliveInterval",
                                               "DenyGroups",
                                               "DenyUsers",
                                               "DisableForwarding",
                                               "ExposeAuthInfo",
                                               "ForceCommand",
                                               "GatewayPorts",
                                               "GSSAPIAuthentication",
                                               "HostbasedAcceptedAlgorithms",
                                               "HostbasedAuthentication",
                                               "HostbasedUsesNameFromPacketOnly",
                                               "IgnoreRhosts",
                                               "IPQoS",
                                               "KbdInteractiveAuthentication",
                                               "KerberosAuthentication",
                                               "LogLevel",
                                               "MaxAuthTries",
                                               "MaxSessions",
                                               "PasswordAuthentication",
                                               "PermitEmptyPasswords",
                                               "PermitListen",
                                               "PermitOpen",
                                               "PermitRootLogin",
                                               "PermitTTY",
                                               "PermitTunnel",
                                               "PermitUserRC",
                                               "PubkeyAcceptedAlgorithms",
                                               "PubkeyAuthentication",
                                               "PubkeyAuthOptions",
                                               "RekeyLimit",
                                               "RevokedKeys",
                                               "SetEnv",
                                               "StreamLocalBindMask",
                                               "StreamLocalBindUnlink",
                                               "TrustedUserCAKeys",
                                               "UnusedConnectionTimeout",
                                               "X11DisplayOffset",
                                               "X11Forwarding",
                                               "X11UseLocalhost"};

// Other names sshd takes for a keyword.
constexpr std::pair<std::string_view, std::string_view> kAliases[] = {
    {"ChallengeResponseAuthentication", "KbdInteractiveAuthentication"},
    {"SkeyAuthentication", "KbdInteractiveAuthentication"},
    {"PubkeyAcceptedKeyTypes", "PubkeyAcceptedAlgorithms"},
    {"HostbasedAcceptedKeyTypes", "HostbasedAcceptedAlgorithms"},
    {"DSAAuthentication", "PubkeyAuthentication"},
    {"KeepAlive", "TCPKeepAlive"}};

std::string_view canonical(std::string_view keyword) {
    for (const auto& [alias, name] : kAliases)
        if (equalsIgnoringCase(alias, keyword))
            return name;
    return keyword;
}

bool sameKeyword(std::string_view a, std::string_view b) {
    return equalsIgnoringCase(canonical(a), canonical(b));
}

bool isMatchKeyword(std::string_view keyword) {
    for (std::string_view known : kMatchKeywords)
        if (sameKeyword(known, keyword))
            return true;
    return false;
}

std::size_t skipWhitespace(std::string_view text, std::size_t pos) {
    const std::size_t found = text.find_first_not_of(kWhitespace, pos);
    return found == std::string_view::npos ? text.size() : found;
}

// sshd's token delimiter for keywords: a token ends at white space, '=' or a
// '"' (which opens a quoted stretch up to the next '"'); then white space and at
// most one '=' are skipped. `pos` becomes npos when the text ends inside the
// token. False when a quote is left open.
bool delimit(std::string_view text, std::size_t& pos, std::string& token) {
    const std::size_t start = pos;
    const std::size_t stop = text.find_first_of("\" \t\r\n=", start);
    if (stop == std::string_view::npos) {
        token.assign(text.substr(start));
        pos = std::string_view::npos;
        return true;
    }
    if (text[stop] == '"') {
        const std::size_t close = text.find('"', stop + 1);
        if (close == std::string_view::npos)
            return false;
        token.assign(text.substr(start, stop - start));
        token.append(text.substr(stop + 1, close - stop - 1));
        pos = skipWhitespace(text, close + 1);
        return true;
    }
    token.assign(text.substr(start, stop - start));
    const bool sawEquals = text[stop] == '=';
    pos = skipWhitespace(text, stop + 1);
    if (!sawEquals && pos < text.size() && text[pos] == '=')
        pos = skipWhitespace(text, pos + 1);
    return true;
}

// sshd's argument splitter: blanks separate words, '#' at the start of a word
// ends the line, '...' and "..." quote, \' \" \\ and (outside quotes) "\ "
// escape. False for an unterminated quote.
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

} // namespace

bool SshdConfig::splitLine(std::string_view line, std::string& keyword,
                           std::vector<std::string>& words) {
    while (!line.empty() &&
           (kWhitespace.find(line.back()) != std::string_view::npos || line.back() == '\f'))
        line.remove_suffix(1);
    if (line.empty())
        return false;
    std::size_t pos = 0;
    if (!delimit(line, pos, keyword))
        return false;
    if (keyword.empty() && pos != std::string_view::npos && !delimit(line, pos, keyword))
        return false;
    if (keyword.empty() || keyword[0] == '#' || pos >= line.size())
        return false;
    words.clear();
    return splitWords(line.substr(pos), words) && !words.empty();
}

std::vector<std::string> SshdConfig::values() const {
    bool overridden = false;
    if (isMatchKeyword(m_Keyword))
        for (const Line& line : m_Lines)
            overridden = overridden || line.inMatchAll;
    std::vector<std::string> values;
    for (const Line& line : m_Lines)
        if (line.inMatchAll || !overridden)
            values.insert(values.end(), line.words.begin(), line.words.end());
    return values;
}

TErrorCode SshdConfig::read(std::string_view text, int depth, bool inMatchAll) {
    if (depth > kMaxDepth)
        return RC_INCLUDE_TOO_DEEP;
    bool active = true;
    TErrorCode code = 0;
    std::string keyword;
    std::vector<std::string> words;
    forEachLine(text, [&](std::string_view line) {
        if (code != 0 || !splitLine(line, keyword, words))
            return;
        if (equalsIgnoringCase(keyword, "Match")) {
            active = words.size() == 1 && equalsIgnoringCase(words[0], "all");
            inMatchAll = active;
        } else if (!active) {
        } else if (equalsIgnoringCase(keyword, "Include")) {
            code = include(words, depth + 1, inMatchAll);
        } else if (sameKeyword(keyword, m_Keyword)) {
            m_Lines.push_back(Line{words, inMatchAll});
        }
    });
    return code;
}

TErrorCode SshdConfig::include(const std::vector<std::string>& globs, int depth, bool inMatchAll) {
    std::vector<std::string> paths;
    std::string text;
    for (const std::string& glob : globs) {
        if (glob.empty())
            continue;
        paths.clear();
        const std::string pattern = glob[0] == '/' ? glob : m_ConfigDir + "/" + glob;
        TErrorCode code = m_Source.expand(pattern, paths);
        for (const std::string& path : paths) {
            if (code == 0 && ++m_Included > kMaxIncludedFiles)
                code = RC_OVER_LIMIT;
            if (code == 0)
                code = m_Source.read(path, text);
            if (code == 0)
                code = read(text, depth, inMatchAll);
        }
        if (code != 0)
            return code;
    }
    return 0;
}

} // namespace SystemPlugin
