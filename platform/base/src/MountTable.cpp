// The mounts of a mountinfo text, parsed with libmount, and their lookup.
#include "base/MountTable.h"

#include <libmount.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <utility>

namespace base {

namespace {

using TablePtr = std::unique_ptr<libmnt_table, void (*)(libmnt_table*)>;
using IterPtr = std::unique_ptr<libmnt_iter, void (*)(libmnt_iter*)>;
using FilePtr = std::unique_ptr<FILE, int (*)(FILE*)>;

std::vector<std::string> splitComponents(const std::string& path) {
    std::vector<std::string> components;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            components.emplace_back(path, start, end - start);
        start = end + 1;
    }
    return components;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether a line starts as a mountinfo entry does: two decimal numbers (the
// mount and parent ids). libmount guesses the format of a text from its first
// entry, so anything else must not reach it.
bool looksLikeMountInfo(const std::string& line) {
    std::size_t i = 0;
    for (int field = 0; field < 2; ++field) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        std::size_t digits = i;
        while (i < line.size() && isDigit(line[i]))
            ++i;
        if (i == digits || i == line.size() || (line[i] != ' ' && line[i] != '\t'))
            return false;
    }
    return true;
}

bool isPort(const std::string& text) {
    return std::all_of(text.begin(), text.end(), isDigit);
}

// The host named by an authority "[user@]host[:port]": no user, no port, no
// brackets around an IPv6 address. A port is recognised after a bracketed
// address or a host with one ':' only, so that "fd00::1" stays whole. False
// when no host is left or it holds a '/'.
bool hostOf(std::string authority, std::string& host) {
    std::size_t at = authority.rfind('@');
    if (at != std::string::npos)
        authority.erase(0, at + 1);
    if (!authority.empty() && authority.front() == '[') {
        std::size_t close = authority.find(']');
        if (close == std::string::npos)
            return false;
        std::string rest = authority.substr(close + 1);
        if (!rest.empty() && (rest.front() != ':' || !isPort(rest.substr(1))))
            return false;
        host = authority.substr(1, close - 1);
    } else {
        std::size_t colon = authority.find(':');
        if (colon != std::string::npos && authority.find(':', colon + 1) == std::string::npos &&
            isPort(authority.substr(colon + 1)))
            authority.erase(colon);
        host = authority;
    }
    return !host.empty() && host.find('/') == std::string::npos;
}

bool isSchemeChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) || c == '+' || c == '-' ||
           c == '.';
}

// Splits a network source into its server and the path exported by it:
// "scheme://[user@]server[:port]/dir" (davfs and other URL sources) and
// "//server/share/dir" (CIFS, SMB) give "server" and "/dir" or "/share/dir";
// "[user@]server:/export" (NFS, sshfs and the like) gives "server" and
// "/export". False for any other source.
bool splitNetworkSource(const std::string& source, std::string& server, std::string& exportPath) {
    std::size_t authority = std::string::npos;
    std::size_t scheme = source.find("://");
    if (scheme != std::string::npos && scheme > 0 &&
        std::all_of(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(scheme),
                    isSchemeChar))
        authority = scheme + 3;
    else if (source.compare(0, 2, "//") == 0)
        authority = 2;
    if (authority != std::string::npos) {
        std::size_t slash = source.find('/', authority);
        exportPath = slash == std::string::npos ? "/" : source.substr(slash);
        return hostOf(source.substr(authority, slash - authority), server);
    }
    std::size_t colon = source.find(":/");
    if (colon == std::string::npos)
        return false;
    exportPath = source.substr(colon + 1);
    return hostOf(source.substr(0, colon), server);
}

// The components of `path` from `first` on, joined below an exported path.
std::string joinRemotePath(std::string exportPath, const std::vector<std::string>& path,
                           std::size_t first) {
    while (exportPath.size() > 1 && exportPath.back() == '/')
        exportPath.pop_back();
    for (std::size_t i = first; i < path.size(); ++i) {
        if (exportPath.empty() || exportPath.back() != '/')
            exportPath += '/';
        exportPath += path[i];
    }
    return exportPath;
}

} // namespace

int MountTable::parse(const char* text, std::size_t size) {
    // Keep only the lines that can be mount entries.
    std::string entries;
    for (std::size_t start = 0; text && start < size;) {
        std::size_t end = start;
        while (end < size && text[end] != '\n')
            ++end;
        std::string line(text + start, end - start);
        if (looksLikeMountInfo(line) && line.find('\0') == std::string::npos)
            entries.append(line).push_back('\n');
        start = end + 1;
    }

    std::vector<Mount> mounts;
    if (!entries.empty()) {
        FilePtr stream(fmemopen(entries.data(), entries.size(), "r"), &std::fclose);
        if (!stream)
            return -errno;
        TablePtr table(mnt_new_table(), &mnt_unref_table);
        IterPtr iter(mnt_new_iter(MNT_ITER_FORWARD), &mnt_free_iter);
        if (!table || !iter)
            return -ENOMEM;
        // Malformed entries are skipped by libmount's default error handling.
        int rc = mnt_table_parse_stream(table.get(), stream.get(), "mountinfo");
        if (rc < 0)
            return rc;
        libmnt_fs* fs = nullptr;
        while (mnt_table_next_fs(table.get(), iter.get(), &fs) == 0) {
            const char* target = mnt_fs_get_target(fs);
            if (!target || target[0] != '/')
                continue;
            Mount mount;
            mount.mountPoint = target;
            mount.components = splitComponents(mount.mountPoint);
            const char* source = mnt_fs_get_source(fs);
            if (source && splitNetworkSource(source, mount.server, mount.exportPath)) {
                // A bind mount of a directory below the export shows that
                // directory as its root within the file system.
                const char* root = mnt_fs_get_root(fs);
                mount.exportPath =
                    joinRemotePath(mount.exportPath, splitComponents(root ? root : "/"), 0);
            } else {
                mount.server.clear();
                mount.exportPath.clear();
            }
            mounts.push_back(std::move(mount));
        }
    }
    m_Mounts = std::move(mounts);
    return 0;
}

bool MountTable::lookup(const std::string& path, MountAnswer& answer) const {
    if (path.empty() || path.front() != '/')
        return false;
    std::vector<std::string> components = splitComponents(path);
    const Mount* holder = nullptr;
    for (const Mount& mount : m_Mounts) {
        if (mount.components.size() > components.size())
            continue;
        if (holder && mount.components.size() < holder->components.size())
            continue;
        bool isPrefix = true;
        for (std::size_t i = 0; isPrefix && i < mount.components.size(); ++i)
            isPrefix = mount.components[i] == components[i];
        if (isPrefix)
            holder = &mount;
    }
    if (!holder)
        return false;
    answer.mountPoint = holder->mountPoint;
    answer.server = holder->server;
    answer.remotePath.clear();
    if (!holder->server.empty())
        answer.remotePath =
            joinRemotePath(holder->exportPath, components, holder->components.size());
    return true;
}

} // namespace base
