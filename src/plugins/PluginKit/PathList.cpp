// A "paths" property, split and expanded.
#include "PluginKit/PathList.h"

#include "PluginKit/Mounts.h"

#include <algorithm>
#include <cerrno>
#include <new>

#include <dirent.h>
#include <glob.h>
#include <sys/stat.h>

namespace PluginKit {

namespace {

// What glob(3)'s callbacks need, for the expansion running on this thread
// (the callbacks carry no context): the first error met in a directory glob
// had to search, and whether paths on network file systems may be touched.
struct GlobState {
    int error = 0;
    bool guarded = false;
    bool onNetwork = false;
    bool outOfMemory = false; // an allocation failed inside glob's callbacks
};
thread_local GlobState tGlob;

extern "C" int recordGlobError(const char* /*path*/, int error) {
    // A missing directory only means that nothing matches below it.
    if (error == ENOENT || error == ENOTDIR)
        return 0;
    tGlob.outOfMemory = tGlob.outOfMemory || error == ENOMEM;
    if (tGlob.error == 0)
        tGlob.error = error;
    return 1;
}

// Whether glob may touch `path`; a refusal is recorded and set in errno.
bool mayTouch(const char* path) noexcept {
    if (!tGlob.guarded)
        return true;
    TErrorCode code = 0;
    try {
        code = checkNetworkPath(std::string(path), false);
    } catch (const std::bad_alloc&) {
        // Thrown again once glob has returned: an exception must not cross it.
        tGlob.outOfMemory = true;
        errno = ENOMEM;
        return false;
    } catch (...) {
        code = -1;
    }
    if (code == 0)
        return true;
    if (code == Mounts::kInternalFailure) {
        tGlob.outOfMemory = true;
        errno = ENOMEM;
        return false;
    }
    tGlob.onNetwork = tGlob.onNetwork || code == Mounts::kOnNetwork;
    errno = code == Mounts::kOnNetwork ? EREMOTE : EIO;
    return false;
}

extern "C" void* guardedOpendir(const char* path) {
    return mayTouch(path) ? ::opendir(path) : nullptr;
}
extern "C" struct dirent* guardedReaddir(void* directory) {
    return ::readdir(static_cast<DIR*>(directory));
}
extern "C" void guardedClosedir(void* directory) {
    ::closedir(static_cast<DIR*>(directory));
}
extern "C" int guardedLstat(const char* path, struct stat* status) {
    return mayTouch(path) ? ::lstat(path, status) : -1;
}
extern "C" int guardedStat(const char* path, struct stat* status) {
    return mayTouch(path) ? ::stat(path, status) : -1;
}

struct GlobRelease {
    glob_t* matches;
    ~GlobRelease() { ::globfree(matches); }
};

FileOutcome expandGlob(const std::string& pattern, bool networkAllowed,
                       std::vector<std::string>& files) {
    glob_t matches{};
    GlobRelease release{&matches};
    tGlob = GlobState{0, !networkAllowed, false, false};
    matches.gl_opendir = guardedOpendir;
    matches.gl_readdir = guardedReaddir;
    matches.gl_closedir = guardedClosedir;
    matches.gl_lstat = guardedLstat;
    matches.gl_stat = guardedStat;
    const int rc =
        ::glob(pattern.c_str(), GLOB_NOSORT | GLOB_ALTDIRFUNC, recordGlobError, &matches);
    // A directory glob could not open for want of memory is no unreadable file.
    if (rc == GLOB_NOSPACE || tGlob.outOfMemory)
        throw std::bad_alloc();
    // A refused path may have looked missing to glob: whatever it answered,
    // the expansion is refused.
    if (tGlob.onNetwork)
        return FileOutcome::of(FileError::OnNetwork);
    if (rc == GLOB_NOMATCH)
        return FileOutcome::success();
    if (rc != 0)
        return {FileError::Unreadable, tGlob.error != 0 ? tGlob.error : EIO};
    if (matches.gl_pathc > PathList::kMaxPaths - std::min(files.size(), PathList::kMaxPaths))
        return FileOutcome::of(FileError::OverLimit);
    std::size_t first = files.size();
    files.insert(files.end(), matches.gl_pathv, matches.gl_pathv + matches.gl_pathc);
    std::sort(files.begin() + static_cast<std::ptrdiff_t>(first), files.end());
    return FileOutcome::success();
}

} // namespace

std::vector<std::string> PathList::split(const std::string& paths) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        char c = paths[i];
        if (c == '\\' && i + 1 < paths.size() && paths[i + 1] == ';') {
            parts.back().push_back(';');
            ++i;
        } else if (c == ';') {
            parts.emplace_back();
        } else {
            parts.back().push_back(c);
        }
    }
    return parts;
}

bool PathList::isGlob(const std::string& path) {
    if (path.find_first_of("*?") != std::string::npos)
        return true;
    std::size_t open = path.find('[');
    return open != std::string::npos && path.find(']', open + 1) != std::string::npos;
}

FileOutcome PathList::expand(const std::string& paths, std::vector<std::string>& files,
                             bool networkAllowed) {
    files.clear();
    for (std::string& path : split(paths)) {
        if (!isGlob(path)) {
            if (files.size() >= kMaxPaths)
                return FileOutcome::of(FileError::OverLimit);
            files.push_back(std::move(path));
            continue;
        }
        FileOutcome outcome = expandGlob(path, networkAllowed, files);
        if (!outcome.ok())
            return outcome;
    }
    return FileOutcome::success();
}

} // namespace PluginKit
