// The directory a process scans as if it were "/".
#include "base/ScanRoot.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <mutex>

#include <sys/stat.h>
#include <unistd.h>

namespace base {

namespace {

// Written once, under the lock, before `g_Active` is set; read only after.
std::mutex g_Lock;
std::string g_Path;
std::atomic<bool> g_Active{false};
std::atomic<bool> g_Entered{false};

} // namespace

int ScanRoot::prepare(const char* directory) {
    if (!directory || !*directory)
        return -EINVAL;
    std::lock_guard<std::mutex> guard(g_Lock);
    if (g_Active.load())
        return -EBUSY;
    char* resolved = ::realpath(directory, nullptr);
    if (!resolved)
        return -errno;
    std::string path(resolved);
    std::free(resolved);
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return -errno;
    if (!S_ISDIR(status.st_mode))
        return -ENOTDIR;
    g_Path = path;
    g_Active.store(true);
    return 0;
}

int ScanRoot::enter() {
    std::lock_guard<std::mutex> guard(g_Lock);
    if (!g_Active.load())
        return -ENOENT;
    if (g_Entered.load())
        return 0;
    if (::chroot(g_Path.c_str()) != 0)
        return -errno;
    if (::chdir("/") != 0)
        return -errno;
    g_Entered.store(true);
    return 0;
}

bool ScanRoot::active() {
    return g_Active.load();
}

bool ScanRoot::entered() {
    return g_Entered.load();
}

// `g_Path` does not change once `g_Active` is set, so it is read without the lock.
std::string ScanRoot::path() {
    return g_Active.load() ? g_Path : std::string();
}

std::string ScanRoot::hostPath(const std::string& imagePath) {
    if (!g_Active.load() || imagePath.empty() || imagePath[0] != '/')
        return imagePath;
    if (g_Path == "/")
        return imagePath;
    return g_Path + imagePath;
}

} // namespace base
