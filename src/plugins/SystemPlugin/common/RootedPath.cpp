// Paths resolved below a root directory.
#include "SystemPlugin/common/RootedPath.h"

#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SystemPlugin {

namespace {

// The components of `path` other than "" and ".", appended in reverse order
// to `stack`, so that the next one to walk is at its back.
void pushComponents(std::string_view path, std::vector<std::string>& stack) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (!part.empty() && part != ".")
            parts.emplace_back(part);
        start = end + 1;
    }
    stack.insert(stack.end(), parts.rbegin(), parts.rend());
}

bool holdsDots(const std::vector<std::string>& stack) {
    for (const std::string& part : stack)
        if (part == "..")
            return true;
    return false;
}

} // namespace

int RootedPath::resolve(std::string_view root, std::string_view path, unsigned flags,
                        std::string& resolved) {
    std::vector<std::string> todo;
    pushComponents(path.substr(root.size()), todo);
    std::string done(root);
    int links = 0;
    while (!todo.empty()) {
        const std::string part = std::move(todo.back());
        todo.pop_back();
        if (part == "..") {
            if (done.size() > root.size())
                done.erase(done.rfind('/'));
            continue;
        }
        const std::string candidate = done + "/" + part;
        struct stat status {};
        if (::lstat(candidate.c_str(), &status) != 0) {
            const int error = errno;
            if (error != ENOENT || !(flags & AllowMissing) || holdsDots(todo))
                return error;
            done = candidate;
            for (auto it = todo.rbegin(); it != todo.rend(); ++it)
                done += "/" + *it;
            break;
        }
        if (S_ISLNK(status.st_mode) && (!todo.empty() || (flags & FollowLast))) {
            if (++links > kMaxLinks)
                return ELOOP;
            std::string target;
            if (const int error = readLink(AT_FDCWD, candidate.c_str(), target))
                return error;
            if (!target.empty() && target.front() == '/')
                done.assign(root);
            pushComponents(target, todo);
            continue;
        }
        if (!todo.empty() && !S_ISDIR(status.st_mode))
            return ENOTDIR;
        done = candidate;
    }
    resolved = done.empty() ? "/" : done;
    return 0;
}

int RootedPath::readLink(int directory, const char* name, std::string& target) {
    // The size lstat reports can be stale: grow until the target fits.
    target.assign(256, '\0');
    for (;;) {
        const ssize_t length = ::readlinkat(directory, name, target.data(), target.size());
        if (length < 0)
            return errno;
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return 0;
        }
        target.resize(target.size() * 2);
    }
}

} // namespace SystemPlugin
