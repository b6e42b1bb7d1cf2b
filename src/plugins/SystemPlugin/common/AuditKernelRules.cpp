// The audit rules the running kernel holds, over netlink.
#include "SystemPlugin/common/AuditKernelRules.h"

#include "SystemPlugin/common/AuditFields.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <vector>

#include <linux/audit.h>
#include <linux/netlink.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace SystemPlugin {

namespace {

constexpr int kTimeoutMilliseconds = 5000;
constexpr std::size_t kBufferSize = 1 << 16;

using Outcome = AuditKernelRules::Outcome;

Outcome outcomeOf(int error) {
    if (error == EPERM || error == EACCES)
        return Outcome::NotPermitted;
    if (error == EPROTONOSUPPORT || error == EAFNOSUPPORT || error == ECONNREFUSED ||
        error == EOPNOTSUPP)
        return Outcome::Unavailable;
    return Outcome::Failed;
}

bool isText(unsigned type) {
    const AuditField* field = AuditFields::byType(type);
    if (!field)
        return false;
    switch (field->kind) {
    case AuditValueKind::Text:
    case AuditValueKind::Path:
    case AuditValueKind::Directory:
    case AuditValueKind::Executable:
    case AuditValueKind::Key:
        return true;
    default:
        return false;
    }
}

// A rule from the kernel's audit_rule_data; false when it does not add up.
bool decode(const unsigned char* data, std::size_t size, AuditRule& rule) {
    struct audit_rule_data head;
    if (size < sizeof head)
        return false;
    std::memcpy(&head, data, sizeof head);
    if (head.field_count > AUDIT_MAX_FIELDS || head.buflen > size - sizeof head)
        return false;
    const char* buffer = reinterpret_cast<const char*>(data + sizeof head);
    rule.list = head.flags & ~AUDIT_FILTER_PREPEND;
    rule.action = head.action;
    for (unsigned i = 0; i < AuditRule::kMaskWords; ++i)
        rule.mask[i] = head.mask[i];
    std::size_t offset = 0;
    for (unsigned i = 0; i < head.field_count; ++i) {
        AuditRuleField field;
        field.type = head.fields[i];
        field.op = head.fieldflags[i];
        field.value = head.values[i];
        if (isText(field.type)) {
            if (field.value > head.buflen - offset)
                return false;
            field.text.assign(buffer + offset, field.value);
            offset += field.value;
        }
        rule.fields.push_back(std::move(field));
    }
    return true;
}

class Socket {
public:
    Socket() : m_Fd(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_AUDIT)) {}
    ~Socket() {
        if (m_Fd >= 0)
            ::close(m_Fd);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return m_Fd; }

private:
    int m_Fd;
};

// NLMSG_OK, without its comparison of the unsigned nlmsg_len with the signed
// length left (a warning with clang).
bool fits(const struct nlmsghdr* message, int length) {
    return length >= static_cast<int>(sizeof(struct nlmsghdr)) &&
           message->nlmsg_len >= sizeof(struct nlmsghdr) &&
           message->nlmsg_len <= static_cast<unsigned>(length);
}

// Sends a request of `type` without payload; 0 or an errno value.
int request(int fd, unsigned type, unsigned sequence) {
    struct nlmsghdr header {};
    header.nlmsg_len = NLMSG_LENGTH(0);
    header.nlmsg_type = static_cast<__u16>(type);
    header.nlmsg_flags = NLM_F_REQUEST | NLM_F_ACK;
    header.nlmsg_seq = sequence;
    struct sockaddr_nl kernel {};
    kernel.nl_family = AF_NETLINK;
    for (;;) {
        if (::sendto(fd, &header, header.nlmsg_len, 0, reinterpret_cast<sockaddr*>(&kernel),
                     sizeof kernel) >= 0)
            return 0;
        if (errno != EINTR)
            return errno;
    }
}

// Reads the answers to request `sequence` until it is done, handing each
// message of `type` to `take`; Read, or why not.
template <typename Take>
Outcome collect(int fd, unsigned type, unsigned sequence, bool untilDone, Take take, int& error) {
    std::vector<unsigned char> buffer(kBufferSize);
    for (;;) {
        struct pollfd wait {
            fd, POLLIN, 0
        };
        const int ready = ::poll(&wait, 1, kTimeoutMilliseconds);
        if (ready == 0)
            return Outcome::TimedOut;
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return error = errno, Outcome::Failed;
        }
        struct sockaddr_nl from {};
        socklen_t fromSize = sizeof from;
        const ssize_t got = ::recvfrom(fd, buffer.data(), buffer.size(), 0,
                                       reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return error = errno, outcomeOf(errno);
        }
        if (from.nl_pid != 0)
            continue;
        int length = static_cast<int>(got);
        for (auto* message = reinterpret_cast<struct nlmsghdr*>(buffer.data());
             fits(message, length); message = NLMSG_NEXT(message, length)) {
            if (message->nlmsg_seq != sequence)
                continue;
            if (message->nlmsg_type == NLMSG_DONE)
                return Outcome::Read;
            if (message->nlmsg_type == NLMSG_ERROR) {
                if (message->nlmsg_len < NLMSG_LENGTH(sizeof(struct nlmsgerr)))
                    return Outcome::Failed;
                const auto* failure = static_cast<const struct nlmsgerr*>(NLMSG_DATA(message));
                if (failure->error != 0)
                    return error = -failure->error, outcomeOf(-failure->error);
                continue; // the acknowledgement
            }
            if (message->nlmsg_type != type)
                continue;
            if (!take(static_cast<const unsigned char*>(NLMSG_DATA(message)),
                      message->nlmsg_len - NLMSG_LENGTH(0)))
                return Outcome::Failed;
            if (!untilDone)
                return Outcome::Read;
        }
    }
}

} // namespace

Outcome AuditKernelRules::read(std::vector<AuditRule>& rules, int& enabled, int& error) {
    error = 0;
    Socket socket;
    if (socket.fd() < 0)
        return error = errno, outcomeOf(errno);
    if ((error = request(socket.fd(), AUDIT_GET, 1)) != 0)
        return outcomeOf(error);
    struct audit_status status {};
    Outcome outcome = collect(
        socket.fd(), AUDIT_GET, 1, false,
        [&](const unsigned char* data, std::size_t size) {
            std::memcpy(&status, data, std::min(size, sizeof status));
            return size >= offsetof(struct audit_status, enabled) + sizeof status.enabled;
        },
        error);
    if (outcome != Outcome::Read)
        return outcome;
    // Rules a disabled kernel holds are not applied: they audit nothing.
    if (status.enabled == 0)
        return Outcome::Unavailable;
    enabled = static_cast<int>(status.enabled);
    if ((error = request(socket.fd(), AUDIT_LIST_RULES, 2)) != 0)
        return outcomeOf(error);
    rules.clear();
    return collect(
        socket.fd(), AUDIT_LIST_RULES, 2, true,
        [&](const unsigned char* data, std::size_t size) {
            AuditRule rule;
            if (!decode(data, size, rule))
                return false;
            rules.push_back(std::move(rule));
            return true;
        },
        error);
}

} // namespace SystemPlugin
