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

// A parser error callback of libmount: notes the line and skips it.
int noteBadLine(libmnt_table* table, const char* /*filename*/, int line) {
    auto* badLines = static_cast<std::vector<int>*>(mnt_table_get_userdata(table));
    try {
        badLines->push_back(line);
    } catch (...) {
        return -ENOMEM;
    }
    return 1;
}

// Parses mountinfo entries (one per line, nothing else) into `table`. libmount
// skips an entry it cannot read, and it cannot tell a malformed entry from
// one it failed to allocate for; nor does it tell a failed read of a line from
// the end of the text. So every entry must come back, and the entries skipped
// are read again: malformed, they are skipped again; one read this time was
// skipped for a lack of memory. 0, or a negative errno value.
int parseEntries(const std::string& entries, std::size_t count, libmnt_table* table,
                 bool retrySkipped) {
    if (entries.empty())
        return 0;
    // fmemopen refuses a buffer it cannot write to; it never writes in "r" mode.
    FilePtr stream(fmemopen(const_cast<char*>(entries.data()), entries.size(), "r"), &std::fclose);
    if (!stream)
        return errno == ENOMEM ? -ENOMEM : -EIO;
    std::vector<int> badLines;
    mnt_table_set_userdata(table, &badLines);
    int rc = mnt_table_set_parser_errcb(table, &noteBadLine);
    if (rc == 0)
        rc = mnt_table_parse_stream(table, stream.get(), "mountinfo");
    mnt_table_set_userdata(table, nullptr);
    if (rc < 0)
        return rc;
    if (static_cast<std::size_t>(mnt_table_get_nents(table)) + badLines.size() != count)
        return -ENOMEM;
    if (!retrySkipped || badLines.empty())
        return 0;
    // The skipped entries, read again together.
    std::vector<std::size_t> starts{0};
    for (std::size_t at = entries.find('\n'); at != std::string::npos && at + 1 < entries.size();
         at = entries.find('\n', at + 1))
        starts.push_back(at + 1);
    std::string skipped;
    for (int line : badLines) {
        if (line < 1 || static_cast<std::size_t>(line) > starts.size())
            return -ENOMEM;
        const std::size_t start = starts[static_cast<std::size_t>(line) - 1];
        skipped.append(entries, start, entries.find('\n', start) - start + 1);
    }
    TablePtr again(mnt_new_table(), &mnt_unref_table);
    if (!again)
        return -ENOMEM;
    rc = parseEntries(skipped, badLines.size(), again.get(), false);
    if (rc < 0)
        return rc;
    if (mnt_table_get_nents(again.get()) != 0)
        return -ENOMEM;
    return 0;
}

// The options of an option text, split at commas outside double quotes.
std::vector<std::string> splitOptions(const std::string& text) {
    std::vector<std::string> options;
    std::string buffer = text;
    char* next = &buffer[0];
    char* name = nullptr;
    char* value = nullptr;
    std::size_t nameSize = 0;
    std::size_t valueSize = 0;
    while (mnt_optstr_next_option(&next, &name, &nameSize, &value, &valueSize) == 0)
        options.emplace_back(name,
                             value ? static_cast<std::size_t>(value + valueSize - name) : nameSize);
    return options;
}

std::string optionName(const std::string& option) {
    return option.substr(0, option.find('='));
}

} // namespace

bool MountTable::isNetworkType(const std::string& type) {
    static const char* const kNetworkTypes[] = {"nfs",   "nfs4", "cifs",   "smb3",
                                                "sshfs", "fuse", "fuseblk"};
    for (const char* network : kNetworkTypes)
        if (type == network)
            return true;
    return type.compare(0, 5, "fuse.") == 0;
}

std::vector<std::string> MountTable::mergeOptions(const std::string& mountOptions,
                                                  const std::string& systemOptions) {
    const std::vector<std::string> perMount = splitOptions(mountOptions);
    const std::vector<std::string> ofSystem = splitOptions(systemOptions);
    const bool readOnly = std::find(perMount.begin(), perMount.end(), "ro") != perMount.end() ||
                          std::find(ofSystem.begin(), ofSystem.end(), "ro") != ofSystem.end();
    std::vector<std::string> merged{readOnly ? "ro" : "rw"};
    std::vector<std::string> names{"rw", "ro"};
    for (const std::vector<std::string>* list : {&perMount, &ofSystem})
        for (const std::string& option : *list) {
            std::string name = optionName(option);
            if (std::find(names.begin(), names.end(), name) != names.end())
                continue;
            names.push_back(std::move(name));
            merged.push_back(option);
        }
    return merged;
}

int MountTable::parse(const char* text, std::size_t size) {
    // Keep only the lines that can be mount entries.
    std::string entries;
    std::size_t count = 0;
    for (std::size_t start = 0; text && start < size;) {
        std::size_t end = start;
        while (end < size && text[end] != '\n')
            ++end;
        std::string line(text + start, end - start);
        if (looksLikeMountInfo(line) && line.find('\0') == std::string::npos) {
            entries.append(line).push_back('\n');
            ++count;
        }
        start = end + 1;
    }

    std::vector<Mount> mounts;
    TablePtr table(mnt_new_table(), &mnt_unref_table);
    IterPtr iter(mnt_new_iter(MNT_ITER_FORWARD), &mnt_free_iter);
    if (!table || !iter)
        return -ENOMEM;
    int rc = parseEntries(entries, count, table.get(), true);
    if (rc < 0)
        return rc;
    libmnt_fs* fs = nullptr;
    while (mnt_table_next_fs(table.get(), iter.get(), &fs) == 0) {
        const char* target = mnt_fs_get_target(fs);
        if (!target || target[0] != '/')
            continue;
        Mount mount;
        mount.id = mnt_fs_get_id(fs);
        mount.parentId = mnt_fs_get_parent_id(fs);
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
        const char* type = mnt_fs_get_fstype(fs);
        mount.type = type ? type : "";
        const char* perMount = mnt_fs_get_vfs_options(fs);
        const char* ofSystem = mnt_fs_get_fs_options(fs);
        mount.options = mergeOptions(perMount ? perMount : "", ofSystem ? ofSystem : "");
        mounts.push_back(std::move(mount));
    }
    m_Mounts = std::move(mounts);
    return 0;
}

bool MountTable::lookup(const std::string& path, MountAnswer& answer) const {
    if (path.empty() || path.front() != '/')
        return false;
    std::vector<std::string> components = splitComponents(path);
    // The longest mount point on the path.
    const Mount* longest = nullptr;
    for (const Mount& mount : m_Mounts) {
        if (mount.components.size() > components.size() ||
            (longest && mount.components.size() < longest->components.size()))
            continue;
        if (std::equal(mount.components.begin(), mount.components.end(), components.begin()))
            longest = &mount;
    }
    if (!longest)
        return false;
    // Of the mounts on that point, the last that no other there sits on.
    const Mount* holder = nullptr;
    for (const Mount& mount : m_Mounts) {
        if (mount.components != longest->components)
            continue;
        const bool covered = std::any_of(m_Mounts.begin(), m_Mounts.end(), [&](const Mount& other) {
            return &other != &mount && other.parentId == mount.id &&
                   other.components == mount.components;
        });
        if (!covered)
            holder = &mount;
    }
    if (!holder)
        holder = longest;
    answer.mountPoint = holder->mountPoint;
    answer.server = holder->server;
    answer.remotePath.clear();
    if (!holder->server.empty())
        answer.remotePath =
            joinRemotePath(holder->exportPath, components, holder->components.size());
    answer.type = holder->type;
    answer.options = holder->options;
    return true;
}

std::vector<MountAnswer> MountTable::mounts() const {
    std::vector<MountAnswer> all;
    all.reserve(m_Mounts.size());
    for (const Mount& mount : m_Mounts) {
        MountAnswer answer;
        answer.mountPoint = mount.mountPoint;
        answer.server = mount.server;
        answer.type = mount.type;
        answer.options = mount.options;
        all.push_back(std::move(answer));
    }
    return all;
}

} // namespace base
