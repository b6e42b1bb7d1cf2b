// The mounts of a mountinfo text, parsed with libmount, and their lookup.
#include "base/MountTable.h"

#include <libmount.h>

#include <cerrno>
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

std::string withoutBrackets(const std::string& server) {
    if (server.size() >= 2 && server.front() == '[' && server.back() == ']')
        return server.substr(1, server.size() - 2);
    return server;
}

// Splits a network source into its server and the path exported by it:
// "//server/share/dir" (CIFS, SMB) gives "server" and "/share/dir";
// "server:/export" (NFS and the like) gives "server" and "/export". Brackets
// around an IPv6 server are dropped. False for any other source.
bool splitNetworkSource(const std::string& source, std::string& server, std::string& exportPath) {
    std::string host;
    if (source.compare(0, 2, "//") == 0) {
        std::size_t slash = source.find('/', 2);
        host = source.substr(2, slash == std::string::npos ? std::string::npos : slash - 2);
        exportPath = slash == std::string::npos ? "/" : source.substr(slash);
    } else if (!source.empty() && source.front() == '[') {
        std::size_t close = source.find(']');
        if (close == std::string::npos || source.compare(close + 1, 2, ":/") != 0)
            return false;
        host = source.substr(0, close + 1);
        exportPath = source.substr(close + 2);
    } else {
        std::size_t colon = source.find(":/");
        if (colon == std::string::npos)
            return false;
        host = source.substr(0, colon);
        if (host.find('/') != std::string::npos)
            return false;
        exportPath = source.substr(colon + 1);
    }
    server = withoutBrackets(host);
    return !server.empty();
}

// The remote path of `rest` (the components below the mount point) under an
// exported path.
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
            if (source && !splitNetworkSource(source, mount.server, mount.exportPath)) {
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
