// sshd's Match criteria, patterns and address lists.
#include "SystemPlugin/common/SshdMatch.h"

#include "SystemPlugin/common/AccountNames.h"
#include "base/ScanRoot.h"

#include <grp.h>
#include <netdb.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <strings.h>

namespace SystemPlugin {
namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::optional<std::string> SshdMatch::nextToken(std::string_view& rest) {
    constexpr std::string_view kSpace = " \t\r\n";
    auto skip = [&](std::size_t from) {
        const std::size_t at = rest.find_first_not_of(kSpace, from);
        return at == std::string_view::npos ? rest.size() : at;
    };
    const std::size_t stop = rest.find_first_of("\" \t\r\n=");
    if (stop == std::string_view::npos) {
        std::string token(rest);
        rest = {};
        return token;
    }
    if (rest[stop] == '"') {
        const std::size_t close = rest.find('"', stop + 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        std::string token(rest.substr(0, stop));
        token.append(rest.substr(stop + 1, close - stop - 1));
        rest.remove_prefix(skip(close + 1));
        return token;
    }
    std::string token(rest.substr(0, stop));
    const bool equals = rest[stop] == '=';
    std::size_t at = skip(stop + 1);
    if (!equals && at < rest.size() && rest[at] == '=')
        at = skip(at + 1);
    rest.remove_prefix(at);
    return token;
}

namespace {

// An address as sshd's addr_pton reads it (getaddrinfo, numeric only).
struct Address {
    int family = 0;
    std::array<unsigned char, 16> bytes{};
    std::uint32_t scope = 0;
};

struct AddrInfoRelease {
    void operator()(addrinfo* info) const { freeaddrinfo(info); }
};

bool readAddress(const std::string& text, Address& address) {
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST;
    addrinfo* found = nullptr;
    if (getaddrinfo(text.c_str(), nullptr, &hints, &found) != 0 || !found)
        return false;
    const std::unique_ptr<addrinfo, AddrInfoRelease> release(found);
    if (!found->ai_addr)
        return false;
    address = Address{};
    address.family = found->ai_addr->sa_family;
    if (address.family == AF_INET) {
        const auto* in = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
        std::memcpy(address.bytes.data(), &in->sin_addr, 4);
        return true;
    }
    if (address.family == AF_INET6) {
        const auto* in6 = reinterpret_cast<const sockaddr_in6*>(found->ai_addr);
        std::memcpy(address.bytes.data(), &in6->sin6_addr, 16);
        address.scope = in6->sin6_scope_id;
        return true;
    }
    return false;
}

unsigned fullLength(int family) {
    return family == AF_INET ? 32 : 128;
}

// sshd's addr_pton_cidr: 0 for "ADDR[/LEN]" with no host bit set, -1 for a
// text that is none, -2 for a bad length or host bits set.
int readNetwork(std::string_view text, Address& network, unsigned& length) {
    if (text.size() >= 64)
        return -1;
    const std::size_t slash = text.find('/');
    unsigned long bits = 999;
    if (slash != std::string_view::npos) {
        const std::string mask(text.substr(slash + 1));
        char* end = nullptr;
        bits = std::strtoul(mask.c_str(), &end, 10);
        if (mask.empty() || mask[0] < '0' || mask[0] > '9' || *end != '\0' || bits > 128)
            return -1;
    }
    if (!readAddress(std::string(text.substr(0, slash)), network))
        return -1;
    if (slash == std::string_view::npos)
        bits = fullLength(network.family);
    if (bits > fullLength(network.family))
        return -2;
    length = static_cast<unsigned>(bits);
    for (unsigned bit = length; bit < fullLength(network.family); ++bit)
        if (network.bytes[bit / 8] & (0x80u >> (bit % 8)))
            return -2;
    return 0;
}

bool inNetwork(const Address& host, const Address& network, unsigned length) {
    if (host.family != network.family)
        return false;
    for (unsigned bit = 0; bit < length; ++bit) {
        const unsigned mask = 0x80u >> (bit % 8);
        if ((host.bytes[bit / 8] & mask) != (network.bytes[bit / 8] & mask))
            return false;
    }
    return host.family != AF_INET6 || host.scope == network.scope;
}

// sshd's addr_match_list: 1 matched, 0 not, -1 a negated entry matched, -2 a
// malformed list. A null `address` checks the list only.
int matchAddressList(const std::string* address, std::string_view list) {
    Address host;
    if (address && !readAddress(*address, host))
        return 0;
    int result = 0;
    for (;;) {
        const std::size_t comma = list.find(',');
        std::string_view entry = list.substr(0, comma);
        const bool negated = !entry.empty() && entry.front() == '!';
        if (negated)
            entry.remove_prefix(1);
        if (entry.empty())
            return -2;
        Address network;
        unsigned length = 0;
        const int parsed = readNetwork(entry, network, length);
        if (parsed == -2)
            return -2;
        const bool found = address && (parsed == 0 ? inNetwork(host, network, length)
                                                   : SshdMatch::matchPattern(*address, entry));
        if (found && negated)
            return -1;
        if (found)
            result = 1;
        if (comma == std::string_view::npos)
            return result;
        list.remove_prefix(comma + 1);
    }
}

} // namespace

int SshdMatch::port(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const long long port = std::strtoll(text.c_str(), &end, 10);
    if (!text.empty() && *end == '\0' && errno == 0 && port >= 0 && port <= 65535)
        return static_cast<int>(port);
    servent entry{};
    servent* found = nullptr;
    std::vector<char> buffer(4096);
    if (getservbyname_r(text.c_str(), "tcp", &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found)
        return ntohs(static_cast<std::uint16_t>(found->s_port));
    return -1;
}

namespace {

// The names of the groups `user` is in, through NSS as sshd's ga_init finds
// them (in a scanned image, from its files alone); empty when the user does
// not exist.
std::vector<std::string> groupsOf(const std::string& user) {
    if (base::ScanRoot::active())
        return AccountNames::groupsInFiles(user);
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwnam_r(user.c_str(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return {};
    int count = 64;
    std::vector<gid_t> ids(static_cast<std::size_t>(count));
    while (getgrouplist(user.c_str(), found->pw_gid, ids.data(), &count) < 0 && count < 65536)
        ids.resize(static_cast<std::size_t>(count *= 2));
    ids.resize(static_cast<std::size_t>(std::max(count, 0)));
    std::vector<std::string> names;
    for (gid_t id : ids) {
        group group{};
        struct group* named = nullptr;
        std::vector<char> space(16384);
        if (getgrgid_r(id, &group, space.data(), space.size(), &named) == 0 && named)
            names.emplace_back(named->gr_name);
    }
    return names;
}

} // namespace

SshdMatch::Mode SshdMatch::parse(const std::string& text, Connection& connection) {
    connection = Connection{};
    if (text == "any")
        return Mode::Any;
    if (text.empty())
        return Mode::Unset;
    std::string_view rest = text;
    for (;;) {
        const std::size_t comma = rest.find(',');
        const std::string_view item = rest.substr(0, comma);
        const std::size_t equals = item.find('=');
        const std::string_view name = item.substr(0, equals);
        const std::string value(equals == std::string_view::npos ? "" : item.substr(equals + 1));
        if (equals == std::string_view::npos)
            return Mode::Unset;
        if (name == "user")
            connection.user = value;
        else if (name == "host")
            connection.host = value;
        else if (name == "addr")
            connection.address = value;
        else if (name == "laddr")
            connection.localAddress = value;
        else if (name == "rdomain")
            connection.rdomain = value;
        else if (name != "lport" || (connection.localPort = port(value)) <= 0)
            return Mode::Unset;
        if (comma == std::string_view::npos)
            return Mode::Connection;
        rest.remove_prefix(comma + 1);
    }
}

bool SshdMatch::matchPattern(std::string_view text, std::string_view pattern) {
    // Greedy with one backtrack point: the last '*' seen.
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t star = std::string_view::npos;
    std::size_t resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

int SshdMatch::matchPatternList(std::string_view text, std::string_view list, bool lowerCase) {
    std::string lowered;
    if (lowerCase) {
        lowered.assign(list);
        std::transform(lowered.begin(), lowered.end(), lowered.begin(), lower);
        list = lowered;
    }
    constexpr std::size_t kMaxPattern = 1023;
    int result = 0;
    for (std::size_t i = 0; i < list.size();) {
        const bool negated = list[i] == '!';
        if (negated)
            ++i;
        const std::size_t end = std::min(list.find(',', i), list.size());
        if (end - i >= kMaxPattern)
            return 0;
        if (matchPattern(text, list.substr(i, end - i))) {
            if (negated)
                return -1;
            result = 1;
        }
        i = end < list.size() ? end + 1 : end;
    }
    return result;
}

SshdMatch::Result SshdMatch::evaluate(std::string_view criteria, const Connection* connection,
                                      std::string& why) {
    bool matched = true;
    int attributes = 0;
    for (;;) {
        std::optional<std::string> attribute = nextToken(criteria);
        if (attribute && !attribute->empty() && (*attribute)[0] == '#')
            criteria = {};
        if (!attribute || attribute->empty() || (*attribute)[0] == '#')
            break;
        ++attributes;
        if (strcasecmp(attribute->c_str(), "all") == 0) {
            const std::optional<std::string> after = nextToken(criteria);
            if (attributes > 1 || (after && !after->empty() && (*after)[0] != '#')) {
                why = "'all' cannot be combined with other Match attributes";
                return Result::Refused;
            }
            return Result::Match;
        }
        const std::optional<std::string> argument = nextToken(criteria);
        if (!argument || argument->empty() || (*argument)[0] == '#') {
            why = "Missing Match criteria for " + *attribute;
            return Result::Refused;
        }
        const std::string& list = *argument;
        const char* name = attribute->c_str();
        if (strcasecmp(name, "user") == 0) {
            matched = matched && connection && connection->user &&
                      matchPatternList(*connection->user, list, false) == 1;
        } else if (strcasecmp(name, "group") == 0) {
            int found = 0;
            if (connection && connection->user)
                for (const std::string& group : groupsOf(*connection->user)) {
                    const int one = matchPatternList(group, list, false);
                    found = one == -1 ? -1 : (found == -1 ? -1 : std::max(found, one));
                }
            matched = matched && found == 1;
        } else if (strcasecmp(name, "host") == 0) {
            std::string host = connection && connection->host ? *connection->host : "";
            std::transform(host.begin(), host.end(), host.begin(), lower);
            matched = matched && connection && connection->host &&
                      matchPatternList(host, list, true) == 1;
        } else if (strcasecmp(name, "address") == 0 || strcasecmp(name, "localaddress") == 0) {
            const bool local = strcasecmp(name, "localaddress") == 0;
            const std::optional<std::string>* address =
                connection ? (local ? &connection->localAddress : &connection->address) : nullptr;
            const int found = matchAddressList(address && *address ? &**address : nullptr, list);
            if (found == -2 || (!(address && *address) && found != 0)) {
                why = "Invalid Match address argument '" + list + "'";
                return Result::Refused;
            }
            matched = matched && found == 1;
        } else if (strcasecmp(name, "localport") == 0) {
            const int localPort = port(list);
            if (localPort == -1) {
                why = "Invalid LocalPort '" + list + "' on Match line";
                return Result::Refused;
            }
            if (connection && connection->localPort == 0)
                return Result::NeedsPort;
            matched = matched && connection && localPort == connection->localPort;
        } else if (strcasecmp(name, "rdomain") == 0) {
            matched = matched && connection && connection->rdomain &&
                      matchPatternList(*connection->rdomain, list, false) == 1;
        } else {
            why = "Unsupported Match attribute " + *attribute;
            return Result::Refused;
        }
    }
    if (attributes == 0) {
        why = "One or more attributes required for Match";
        return Result::Refused;
    }
    if (!criteria.empty()) {
        why = "extra arguments after the Match criteria";
        return Result::Refused;
    }
    return matched ? Result::Match : Result::NoMatch;
}

} // namespace SystemPlugin
