// Collecting drop-in files: the first file of each name wins, masks hide.
#include "SystemPlugin/common/DropinSet.h"

#include "PluginKit/PathList.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>
#include <new>

namespace SystemPlugin {
namespace {

constexpr std::string_view kSuffix = ".conf";

bool endsInConf(std::string_view name) {
    return name.size() >= kSuffix.size() && name.substr(name.size() - kSuffix.size()) == kSuffix;
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

// Calls `visit(name)` for each entry of `directory`; a directory that does
// not exist (or is none) has no entries.
// A directory of more entries is over a limit (its program would read them
// all, at a cost no check should pay: an image may hold a million).
constexpr std::size_t kMaxEntries = PluginKit::PathList::kMaxPaths;

template <typename Visit>
PluginKit::FileOutcome listDirectory(const std::string& directory, Visit visit) {
    std::unique_ptr<DIR, DirCloser> dir(opendir(directory.c_str()));
    if (!dir)
        return errno == ENOENT || errno == ENOTDIR ? PluginKit::FileOutcome::success()
                                                   : PluginKit::FileOutcome::fromErrno(errno);
    errno = 0;
    std::size_t entries = 0;
    while (const dirent* entry = readdir(dir.get())) {
        if (++entries > kMaxEntries)
            return {PluginKit::FileError::OverLimit, 0};
        visit(std::string(entry->d_name));
        errno = 0;
    }
    if (errno != 0)
        return {PluginKit::FileError::Unreadable, errno};
    return PluginKit::FileOutcome::success();
}

} // namespace

PluginKit::FileOutcome DropinSet::collect(std::string_view name,
                                          const std::function<bool(const std::string&)>& mayList,
                                          std::vector<std::string>& paths) {
    return collect(name, kRoots, mayList, paths);
}

PluginKit::FileOutcome DropinSet::collect(std::string_view name,
                                          PluginKit::Span<std::string_view> roots,
                                          const std::function<bool(const std::string&)>& mayList,
                                          std::vector<std::string>& paths) {
    paths.clear();
    if (name.empty())
        return PluginKit::FileOutcome::success();
    // File name -> the path found first ("" when it reads nothing).
    std::map<std::string, std::string> chosen;
    for (std::string_view root : roots) {
        const std::string directory = std::string(root) + "/" + std::string(name);
        if (!mayList(directory))
            break;
        const PluginKit::FileOutcome outcome = listDirectory(directory, [&](std::string file) {
            if (file.front() == '.' || file.size() == kSuffix.size() || !endsInConf(file) ||
                chosen.count(file) != 0)
                return;
            std::string path = directory + "/" + file;
            struct stat info {};
            const bool found = stat(path.c_str(), &info) == 0;
            const bool empty = !found || S_ISDIR(info.st_mode) ||
                               (S_ISCHR(info.st_mode) && info.st_rdev == makedev(1, 3));
            if (!found && errno != ENOENT)
                chosen.emplace(std::move(file), std::move(path)); // its reading tells why
            else
                chosen.emplace(std::move(file), empty ? std::string() : std::move(path));
        });
        if (!outcome.ok())
            return outcome;
    }
    for (auto& [file, path] : chosen)
        if (!path.empty())
            paths.push_back(std::move(path));
    return PluginKit::FileOutcome::success();
}

PluginKit::FileOutcome DropinSet::snippets(const std::string& directory,
                                           std::vector<std::string>& paths) {
    paths.clear();
    const PluginKit::FileOutcome outcome = listDirectory(directory, [&](const std::string& file) {
        const std::string path = directory + "/" + file;
        struct stat info {};
        if (endsInConf(file) && !(stat(path.c_str(), &info) != 0 && errno == ENOENT) &&
            !S_ISDIR(info.st_mode))
            paths.push_back(path);
    });
    std::sort(paths.begin(), paths.end());
    return outcome;
}

} // namespace SystemPlugin
