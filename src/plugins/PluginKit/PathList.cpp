// A "paths" property, split and expanded.
#include "PluginKit/PathList.h"

#include <algorithm>
#include <cerrno>
#include <new>

#include <glob.h>

namespace PluginKit {

namespace {

// The first error glob(3) met in a directory it had to search, for the
// expansion running on this thread (glob's callback carries no context).
thread_local int tGlobError = 0;

extern "C" int recordGlobError(const char* /*path*/, int error) {
    // A missing directory only means that nothing matches below it.
    if (error == ENOENT || error == ENOTDIR)
        return 0;
    if (tGlobError == 0)
        tGlobError = error;
    return 1;
}

struct GlobRelease {
    glob_t* matches;
    ~GlobRelease() { ::globfree(matches); }
};

FileOutcome expandGlob(const std::string& pattern, std::vector<std::string>& files) {
    glob_t matches{};
    GlobRelease release{&matches};
    tGlobError = 0;
    int rc = ::glob(pattern.c_str(), GLOB_NOSORT, recordGlobError, &matches);
    if (rc == GLOB_NOMATCH)
        return FileOutcome::success();
    if (rc == GLOB_NOSPACE)
        throw std::bad_alloc();
    if (rc != 0)
        return {FileError::Unreadable, tGlobError != 0 ? tGlobError : EIO};
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

FileOutcome PathList::expand(const std::string& paths, std::vector<std::string>& files) {
    files.clear();
    for (std::string& path : split(paths)) {
        if (!isGlob(path)) {
            if (files.size() >= kMaxPaths)
                return FileOutcome::of(FileError::OverLimit);
            files.push_back(std::move(path));
            continue;
        }
        FileOutcome outcome = expandGlob(path, files);
        if (!outcome.ok())
            return outcome;
    }
    return FileOutcome::success();
}

} // namespace PluginKit
