// The listings of the unit search path's directories.
#include "SystemPlugin/common/UnitDirectoryCache.h"

#include "SystemPlugin/common/RootedPath.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <iterator>
#include <new>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace SystemPlugin {

namespace {

// Names systemd skips in its directories: hidden files and backups.
bool hiddenOrBackup(std::string_view name) {
    if (name.empty() || name.front() == '.' || name.back() == '~' || name == "lost+found" ||
        name == "aquota.user" || name == "aquota.group")
        return true;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    static constexpr std::string_view kSuffixes[] = {
        "rpmnew",    "rpmsave",  "rpmorig",     "dpkg-old",    "dpkg-new", "dpkg-tmp",
        "dpkg-dist", "dpkg-bak", "dpkg-backup", "dpkg-remove", "ucf-new",  "ucf-old",
        "ucf-dist",  "swp",      "bak",         "old",         "new"};
    const std::string_view suffix = name.substr(dot + 1);
    return std::find(std::begin(kSuffixes), std::end(kSuffixes), suffix) != std::end(kSuffixes);
}

bool same(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Reads the directory open on `fd` (which it takes over).
std::shared_ptr<const UnitDirectoryCache::Listing> read(int fd, int& error) {
    DIR* const directory = ::fdopendir(fd);
    if (!directory) {
        error = errno;
        ::close(fd);
        if (error == ENOMEM)
            throw std::bad_alloc(); // a failure of ours, not an unreadable directory
        return nullptr;
    }
    auto listing = std::make_shared<UnitDirectoryCache::Listing>();
    errno = 0;
    while (const dirent* entry = ::readdir(directory)) {
        if (hiddenOrBackup(entry->d_name))
            continue;
        UnitDirectoryCache::Entry item;
        item.name = entry->d_name;
        item.type = entry->d_type;
        struct stat status {};
        if (item.type == DT_UNKNOWN &&
            ::fstatat(::dirfd(directory), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0)
            item.type = S_ISDIR(status.st_mode)   ? DT_DIR
                        : S_ISLNK(status.st_mode) ? DT_LNK
                                                  : DT_REG;
        if (item.type == DT_LNK)
            item.linkError = RootedPath::readLink(::dirfd(directory), entry->d_name, item.target);
        listing->entries.push_back(std::move(item));
    }
    error = errno;
    ::closedir(directory);
    return error == 0 ? listing : nullptr;
}

} // namespace

std::shared_ptr<const UnitDirectoryCache::Listing>
UnitDirectoryCache::listing(const std::string& path, int& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        error = errno;
        if (fd >= 0)
            ::close(fd);
        return nullptr;
    }
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        const auto kept = m_Kept.find(path);
        if (kept != m_Kept.end() && kept->second.device == status.st_dev &&
            kept->second.inode == status.st_ino && same(kept->second.modified, status.st_mtim) &&
            same(kept->second.changed, status.st_ctim)) {
            ::close(fd);
            return kept->second.listing;
        }
    }
    std::shared_ptr<const Listing> fresh = read(fd, error);
    if (!fresh)
        return nullptr;
    // A directory changed within the last seconds may change again within the
    // same tick of its clock: such a listing is used once and not kept.
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    if (status.st_ctim.tv_sec >= now.tv_sec - 2 || status.st_mtim.tv_sec >= now.tv_sec - 2)
        return fresh;
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (m_Kept.size() >= kMaxDirectories)
        m_Kept.clear();
    m_Kept[path] = Kept{status.st_dev, status.st_ino, status.st_mtim, status.st_ctim, fresh};
    return fresh;
}

} // namespace SystemPlugin
