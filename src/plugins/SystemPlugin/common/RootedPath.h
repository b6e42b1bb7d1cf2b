// Paths resolved the way systemd resolves them below a root directory: one
// component at a time, ".." never above the root, and an absolute link
// target taken from the root rather than from "/".
#pragma once

#include <string>
#include <string_view>

namespace SystemPlugin {

class RootedPath {
public:
    // The most links followed in one resolution, as systemd allows.
    static constexpr int kMaxLinks = 32;

    enum Flags : unsigned {
        // Follow a link in the last component too.
        FollowLast = 1,
        // A missing component ends the walk: the rest is kept as written,
        // unless it holds "." or ".." components.
        AllowMissing = 2,
    };

    // Resolves `path`, which starts with `root` ("" for "/"), into `resolved`
    // (with the root, without empty or "." components): 0, or an errno value
    // (ENOENT, ENOTDIR, ELOOP, EACCES...).
    static int resolve(std::string_view root, std::string_view path, unsigned flags,
                       std::string& resolved);

    // The target of the link `name` in the directory open on `directory`
    // (AT_FDCWD: `name` is a path), as stored: 0, or an errno value.
    static int readLink(int directory, const char* name, std::string& target);
};

} // namespace SystemPlugin
