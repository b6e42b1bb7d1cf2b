// Collecting drop-in files: the first file of each name wins, masks hide.
#include "SystemPlugin/common/DropinSet.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <map>
#include <memory>

namespace SystemPlugin {
namespace {

bool isConfName(std::string_view name) {
    constexpr std::string_view suffix = ".conf";
    return !name.empty() && name.front() != '.' && name.size() > suffix.size() &&
           name.substr(name.size() - suffix.size()) == suffix;
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

} // namespace

std::vector<std::string>
DropinSet::collect(std::string_view name, const std::function<bool(const std::string&)>& mayList) {
    std::vector<std::string> paths;
    if (name.empty())
        return paths;
    // File name -> the path found first ("" when masked or not a regular file).
    std::map<std::string, std::string> chosen;
    for (std::string_view root : kRoots) {
        const std::string directory = std::string(root) + "/" + std::string(name);
        if (!mayList(directory))
            break;
        std::unique_ptr<DIR, DirCloser> dir(opendir(directory.c_str()));
        if (!dir)
            continue;
        while (const dirent* entry = readdir(dir.get())) {
            const std::string file = entry->d_name;
            if (!isConfName(file) || chosen.count(file) != 0)
                continue;
            std::string path = directory + "/" + file;
            struct stat info {};
            const bool masked = stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode) &&
                                info.st_rdev == makedev(1, 3);
            const bool directoryEntry = !masked && S_ISDIR(info.st_mode);
            chosen.emplace(file, masked || directoryEntry ? std::string() : std::move(path));
        }
    }
    for (auto& [file, path] : chosen)
        if (!path.empty())
            paths.push_back(std::move(path));
    return paths;
}

} // namespace SystemPlugin
