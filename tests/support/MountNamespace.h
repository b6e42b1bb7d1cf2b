// Mount namespaces for tests: a child process with mounts of its own.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

// A private mount namespace for this process, with a scratch tmpfs on `dir`.
inline bool privateScratch(const std::string& dir) {
    return ::unshare(CLONE_NEWNS) == 0 &&
           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("scratch", dir.c_str(), "tmpfs", 0, nullptr) == 0;
}

// Runs `body(dir, out)` in a child process and gives its exit status and what
// it wrote to `out`.
struct Forked {
    int status = -1;
    std::string transcript;
};
inline Forked runForked(const std::string& dir, int (*body)(const std::string&, int)) {
    Forked result;
    int pipe[2];
    if (::pipe(pipe) != 0)
        return result;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        ::_exit(body(dir, pipe[1]));
    }
    ::close(pipe[1]);
    char buffer[4096];
    for (ssize_t count; (count = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
        result.transcript.append(buffer, static_cast<std::size_t>(count));
    ::close(pipe[0]);
    if (child > 0)
        ::waitpid(child, &result.status, 0);
    return result;
}

// `text` with every '%' made `dir`.
inline std::string placed(std::string text, const std::string& dir) {
    for (std::size_t at; (at = text.find('%')) != std::string::npos;)
        text.replace(at, 1, dir);
    return text;
}

// The lines that `command` prints, without their ends.
inline std::vector<std::string> linesOf(const std::string& command) {
    std::vector<std::string> lines;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
    char line[4096];
    while (pipe && std::fgets(line, sizeof line, pipe.get())) {
        lines.emplace_back(line);
        if (lines.back().back() == '\n')
            lines.back().pop_back();
    }
    return lines;
}

} // namespace testsupport
