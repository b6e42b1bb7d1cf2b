// OpenSSH 9.2's server keywords and their arguments, as `sshd -T` takes them.
#include "SystemPlugin/common/SshdKeywords.h"

#include "SystemPlugin/common/SshdMatch.h"

#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace SystemPlugin {
namespace {

// How sshd reads a keyword's arguments.
enum class Kind {
    Flag,          // "yes" or "no"
    Choice,        // one of `choices`
    Choices,       // one or more of `choices`
    Integer,       // 0 to INT_MAX, decimal
    Port,          // 1 to 65535 or a service name
    Time,          // sshd's time format (10, 5m, 1h30m)
    TimeOrNone,    // the same, or "none"
    One,           // one argument, any non-empty text
    Some,          // one or more non-empty arguments
    Names,         // one or more names without '='
    Settings,      // one or more NAME=VALUE
    Two,           // two or more arguments
    Command,       // "none" or an absolute path, then its arguments
    OneUnchecked,  // one argument this reader does not check (algorithm lists, hosts)
    SomeUnchecked, // one or more arguments it does not check
    Deprecated,    // anything: deprecated and unsupported keywords
    Refused,       // sshd refuses it on this platform
};

struct Entry {
    std::string_view word;
    std::string_view name; // canonical; empty: the word itself
    Kind kind;
    bool allowedInMatch;
    std::string_view choices = {};
};

constexpr std::string_view kYesNo = "yes|no";

// The keywords, lower case; deprecated and unsupported ones take anything.
constexpr Entry kKeywords[] = {
    {"acceptenv", {}, Kind::Names, true},
    {"addressfamily", {}, Kind::Choice, false, "any|inet|inet6"},
    {"afstokenpassing", {}, Kind::Deprecated, false},
    {"allowagentforwarding", {}, Kind::Flag, true},
    {"allowgroups", {}, Kind::Some, true},
    {"allowstreamlocalforwarding", {}, Kind::Choice, true, "yes|no|all|local|remote"},
    {"allowtcpforwarding", {}, Kind::Choice, true, "yes|no|all|local|remote"},
    {"allowusers", {}, Kind::Some, true},
    {"authenticationmethods", {}, Kind::SomeUnchecked, true},
    {"authorizedkeyscommand", {}, Kind::Command, true},
    {"authorizedkeyscommanduser", {}, Kind::One, true},
    {"authorizedkeysfile", {}, Kind::Some, true},
    {"authorizedkeysfile2", {}, Kind::Deprecated, true},
    {"authorizedprincipalscommand", {}, Kind::Command, true},
    {"authorizedprincipalscommanduser", {}, Kind::One, true},
    {"authorizedprincipalsfile", {}, Kind::One, true},
    {"banner", {}, Kind::One, true},
    {"casignaturealgorithms", {}, Kind::OneUnchecked, true},
    {"challengeresponseauthentication", "kbdinteractiveauthentication", Kind::Flag, true},
    {"channeltimeout", {}, Kind::SomeUnchecked, true},
    {"checkmail", {}, Kind::Deprecated, false},
    {"chrootdirectory", {}, Kind::One, true},
    {"ciphers", {}, Kind::OneUnchecked, false},
    {"clientalivecountmax", {}, Kind::Integer, true},
    {"clientaliveinterval", {}, Kind::Time, true},
    {"compression", {}, Kind::Choice, false, "yes|no|delayed"},
    {"debianbanner", {}, Kind::Flag, false},
    {"denygroups", {}, Kind::Some, true},
    {"denyusers", {}, Kind::Some, true},
    {"disableforwarding", {}, Kind::Flag, true},
    {"dsaauthentication", "pubkeyauthentication", Kind::Flag, false},
    {"exposeauthinfo", {}, Kind::Flag, true},
    {"fingerprinthash", {}, Kind::Choice, false, "md5|sha1|sha256|sha384|sha512"},
    {"forcecommand", {}, Kind::Some, true},
    {"gatewayports", {}, Kind::Choice, true, "yes|no|clientspecified"},
    {"gssapiauthentication", {}, Kind::Flag, true},
    {"gssapicleanupcredentials", {}, Kind::Flag, false},
    {"gssapikexalgorithms", {}, Kind::OneUnchecked, false},
    {"gssapikeyexchange", {}, Kind::Flag, false},
    {"gssapistorecredentialsonrekey", {}, Kind::Flag, false},
    {"gssapistrictacceptorcheck", {}, Kind::Flag, false},
    {"hostbasedacceptedalgorithms", {}, Kind::OneUnchecked, true},
    {"hostbasedacceptedkeytypes", "hostbasedacceptedalgorithms", Kind::OneUnchecked, true},
    {"hostbasedauthentication", {}, Kind::Flag, true},
    {"hostbasedusesnamefrompacketonly", {}, Kind::Flag, true},
    {"hostcertificate", {}, Kind::One, false},
    {"hostdsakey", "hostkey", Kind::One, false},
    {"hostkey", {}, Kind::One, false},
    {"hostkeyagent", {}, Kind::One, false},
    {"hostkeyalgorithms", {}, Kind::OneUnchecked, false},
    {"ignorerhosts", {}, Kind::Choice, true, "yes|no|shosts-only"},
    {"ignoreuserknownhosts", {}, Kind::Flag, false},
    {"ipqos", {}, Kind::SomeUnchecked, true},
    {"kbdinteractiveauthentication", {}, Kind::Flag, true},
    {"keepalive", "tcpkeepalive", Kind::Flag, false},
    {"kerberosauthentication", {}, Kind::Flag, true},
    {"kerberosgetafstoken", {}, Kind::Deprecated, false},
    {"kerberosorlocalpasswd", {}, Kind::Flag, false},
    {"kerberosticketcleanup", {}, Kind::Flag, false},
    {"kerberostgtpassing", {}, Kind::Deprecated, false},
    {"kexalgorithms", {}, Kind::OneUnchecked, false},
    {"keyregenerationinterval", {}, Kind::Deprecated, false},
    {"listenaddress", {}, Kind::OneUnchecked, false},
    {"logingracetime", {}, Kind::Time, false},
    {"loglevel",
     {},
     Kind::Choice,
     true,
     "quiet|fatal|error|info|verbose|debug|debug1|debug2|debug3"},
    {"logverbose", {}, Kind::SomeUnchecked, true},
    {"macs", {}, Kind::OneUnchecked, false},
    {"maxauthtries", {}, Kind::Integer, true},
    {"maxsessions", {}, Kind::Integer, true},
    {"maxstartups", {}, Kind::OneUnchecked, false},
    {"modulifile", {}, Kind::One, false},
    {"pamauthenticationviakbdint", {}, Kind::Deprecated, false},
    {"passwordauthentication", {}, Kind::Flag, true},
    {"permitemptypasswords", {}, Kind::Flag, true},
    {"permitlisten", {}, Kind::SomeUnchecked, true},
    {"permitopen", {}, Kind::SomeUnchecked, true},
    {"permitrootlogin",
     {},
     Kind::Choice,
     true,
     "yes|no|prohibit-password|without-password|forced-commands-only"},
    {"permittty", {}, Kind::Flag, true},
    {"permittunnel", {}, Kind::Choice, true, "yes|no|point-to-point|ethernet"},
    {"permituserenvironment", {}, Kind::One, false},
    {"permituserrc", {}, Kind::Flag, true},
    {"persourcemaxstartups", {}, Kind::OneUnchecked, false},
    {"persourcenetblocksize", {}, Kind::OneUnchecked, false},
    {"pidfile", {}, Kind::One, false},
    {"port", {}, Kind::Port, false},
    {"printlastlog", {}, Kind::Flag, false},
    {"printmotd", {}, Kind::Flag, false},
    {"protocol", {}, Kind::Deprecated, false},
    {"pubkeyacceptedalgorithms", {}, Kind::OneUnchecked, true},
    {"pubkeyacceptedkeytypes", "pubkeyacceptedalgorithms", Kind::OneUnchecked, true},
    {"pubkeyauthentication", {}, Kind::Flag, true},
    {"pubkeyauthoptions", {}, Kind::Choices, true, "none|touch-required|verify-required"},
    {"rdomain", {}, Kind::Refused, true},
    {"rekeylimit", {}, Kind::SomeUnchecked, true},
    {"requiredrsasize", {}, Kind::Integer, true},
    {"reversemappingcheck", {}, Kind::Deprecated, false},
    {"revokedkeys", {}, Kind::One, true},
    {"rhostsauthentication", {}, Kind::Deprecated, false},
    {"rhostsrsaauthentication", {}, Kind::Deprecated, true},
    {"rsaauthentication", {}, Kind::Deprecated, true},
    {"securitykeyprovider", {}, Kind::One, false},
    {"serverkeybits", {}, Kind::Deprecated, false},
    {"setenv", {}, Kind::Settings, true},
    {"skeyauthentication", "kbdinteractiveauthentication", Kind::Flag, true},
    {"streamlocalbindmask", {}, Kind::OneUnchecked, true},
    {"streamlocalbindunlink", {}, Kind::Flag, true},
    {"strictmodes", {}, Kind::Flag, false},
    {"subsystem", {}, Kind::Two, false},
    {"syslogfacility",
     {},
     Kind::Choice,
     false,
     "daemon|user|auth|authpriv|local0|local1|local2|local3|local4|local5|local6|local7"},
    {"tcpkeepalive", {}, Kind::Flag, false},
    {"trustedusercakeys", {}, Kind::One, true},
    {"unusedconnectiontimeout", {}, Kind::TimeOrNone, true},
    {"usedns", {}, Kind::Flag, false},
    {"uselogin", {}, Kind::Deprecated, false},
    {"usepam", {}, Kind::Flag, false},
    {"useprivilegeseparation", {}, Kind::Deprecated, false},
    {"verifyreversemapping", {}, Kind::Deprecated, false},
    {"versionaddendum", {}, Kind::Some, false},
    {"x11displayoffset", {}, Kind::Integer, true},
    {"x11forwarding", {}, Kind::Flag, true},
    {"x11uselocalhost", {}, Kind::Flag, true},
    {"xauthlocation", {}, Kind::One, false},
    {"include", {}, Kind::Deprecated, true},
    {"match", {}, Kind::Deprecated, true},
};

bool oneOf(std::string_view word, std::string_view choices) {
    for (;;) {
        const std::size_t bar = choices.find('|');
        const std::string_view choice = choices.substr(0, bar);
        if (word.size() == choice.size() &&
            strncasecmp(word.data(), choice.data(), word.size()) == 0)
            return true;
        if (bar == std::string_view::npos)
            return false;
        choices.remove_prefix(bar + 1);
    }
}

// strtonum(text, 0, INT_MAX): strtoll over the whole text.
bool isInteger(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    return !text.empty() && end != text.c_str() && *end == '\0' && errno == 0 && value >= 0 &&
           value <= INT_MAX;
}

// sshd's convtime: runs of a number and an optional unit (s, m, h, d, w, any
// case), adding up to at most INT_MAX.
bool isTime(const std::string& text) {
    if (text.empty())
        return false;
    long long total = 0;
    for (const char* p = text.c_str(); *p;) {
        char* end = nullptr;
        errno = 0;
        const long seconds = std::strtol(p, &end, 10);
        if (end == p || errno == ERANGE || seconds < 0)
            return false;
        long long multiplier = 1;
        switch (*end) {
        case '\0':
            break;
        case 's':
        case 'S':
            ++end;
            break;
        case 'm':
        case 'M':
            multiplier = 60;
            ++end;
            break;
        case 'h':
        case 'H':
            multiplier = 3600;
            ++end;
            break;
        case 'd':
        case 'D':
            multiplier = 86400;
            ++end;
            break;
        case 'w':
        case 'W':
            multiplier = 604800;
            ++end;
            break;
        default:
            return false;
        }
        if (seconds > INT_MAX / multiplier || total > INT_MAX - seconds * multiplier)
            return false;
        total += seconds * multiplier;
        p = end;
    }
    return true;
}

} // namespace

const SshdKeywords::Keyword* SshdKeywords::find(std::string_view word) {
    static const std::vector<Keyword> keywords = [] {
        std::vector<Keyword> all;
        for (const Entry& entry : kKeywords)
            all.push_back(Keyword{entry.name.empty() ? entry.word : entry.name,
                                  entry.allowedInMatch, all.size()});
        return all;
    }();
    for (std::size_t i = 0; i < std::size(kKeywords); ++i)
        if (word.size() == kKeywords[i].word.size() &&
            strncasecmp(word.data(), kKeywords[i].word.data(), word.size()) == 0)
            return &keywords[i];
    return nullptr;
}

bool SshdKeywords::accepts(const Keyword& keyword, const std::vector<std::string>& arguments,
                           std::string& why) {
    const Entry* entry = &kKeywords[keyword.row];
    const std::string first = arguments.empty() ? "" : arguments.front();
    const auto all = [&](auto test) {
        return std::all_of(arguments.begin(), arguments.end(), test);
    };
    bool ok = !first.empty();
    bool single = true;
    switch (entry->kind) {
    case Kind::Flag:
        ok = ok && oneOf(first, kYesNo);
        break;
    case Kind::Choice:
        ok = ok && oneOf(first, entry->choices);
        break;
    case Kind::Choices:
        ok = ok && all([&](const std::string& a) { return oneOf(a, entry->choices); });
        single = false;
        break;
    case Kind::Integer:
        ok = ok && isInteger(first);
        break;
    case Kind::Port:
        ok = ok && SshdMatch::port(first) > 0;
        break;
    case Kind::Time:
        ok = ok && isTime(first);
        break;
    case Kind::TimeOrNone:
        ok = ok && (oneOf(first, "none") || isTime(first));
        break;
    case Kind::One:
    case Kind::OneUnchecked:
        break;
    case Kind::Some:
        ok = all([](const std::string& a) { return !a.empty(); });
        single = false;
        break;
    case Kind::Names:
        ok = all(
            [](const std::string& a) { return !a.empty() && a.find('=') == std::string::npos; });
        single = false;
        break;
    case Kind::Settings:
        ok = all(
            [](const std::string& a) { return a.find('=') != std::string::npos && a[0] != '='; });
        single = false;
        break;
    case Kind::Two:
        ok = arguments.size() >= 2;
        single = false;
        break;
    case Kind::Command:
        ok = first == "none" || (!first.empty() && first[0] == '/');
        single = false;
        break;
    case Kind::SomeUnchecked:
        single = false;
        break;
    case Kind::Deprecated:
        ok = true;
        single = false;
        break;
    case Kind::Refused:
        ok = false;
        break;
    }
    if (!ok)
        why = "sshd refuses the argument of " + std::string(keyword.name);
    else if (single && arguments.size() > 1)
        why = "extra arguments after " + std::string(keyword.name);
    return ok && (!single || arguments.size() == 1);
}

} // namespace SystemPlugin
