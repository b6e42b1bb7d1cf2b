// sshd's Match criteria, evaluated as `sshd -T -C SPEC` evaluates them: User,
// Group (the user's groups through NSS), Host, Address and LocalAddress (CIDR
// or wildcards), LocalPort, RDomain and All; comma lists with '!' negation and
// '*' '?' wildcards.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace SystemPlugin {

class SshdMatch {
public:
    // Unset: no "match" (plain `sshd -T`); Any: every value anywhere;
    // Connection: the connection given.
    enum class Mode { Unset, Any, Connection };

    // A connection as `sshd -C` takes it; fields not given are absent.
    struct Connection {
        std::optional<std::string> user, host, address, localAddress, rdomain;
        int localPort = 0; // 0: not given
    };

    // "any", or "user=NAME,host=NAME,addr=IP,laddr=IP,lport=N,rdomain=NAME"
    // (any of them, at least one): the mode; Unset for a text `sshd -C`
    // refuses.
    static Mode parse(const std::string& text, Connection& connection);

    enum class Result { NoMatch, Match, Refused, NeedsPort };

    // The criteria of one Match line (the text after "Match"). A null
    // `connection` checks them only, as sshd's first reading does ("All"
    // matches, the others do not). Refused: sshd refuses the line (`why`
    // tells); NeedsPort: a LocalPort criterion and no port given (sshd stops
    // there too).
    static Result evaluate(std::string_view criteria, const Connection* connection,
                           std::string& why);

    // sshd's strdelim: the next token of `rest`, ending at white space or one
    // '=' (a '"' quotes up to the next '"'); `rest` loses it and the white
    // space after it. Null for an unclosed quote.
    static std::optional<std::string> nextToken(std::string_view& rest);

    // sshd's a2port: 0 to 65535, or a TCP service name; -1 for neither.
    static int port(const std::string& text);

    // sshd's match_pattern: '*' any run, '?' one character, case as written.
    static bool matchPattern(std::string_view text, std::string_view pattern);
    // sshd's match_pattern_list: 1 when a pattern matches, -1 when a '!'
    // pattern matches, else 0.
    static int matchPatternList(std::string_view text, std::string_view list, bool lower);
};

} // namespace SystemPlugin
