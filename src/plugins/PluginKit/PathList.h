// A "paths" property: one or more paths separated by `;`, globs expanded.
#pragma once

#include "PluginKit/FileOutcome.h"

#include <cstddef>
#include <string>
#include <vector>

namespace PluginKit {

class PathList {
public:
    // The most files one list may name; more is OverLimit before any is read.
    static constexpr std::size_t kMaxPaths = 100000;

    // The paths of `paths` in the order written: split at each `;` that is not
    // written `\;` (which stands for a `;` inside a path). Every other
    // backslash is kept as written. An empty part is an empty path.
    static std::vector<std::string> split(const std::string& paths);

    // Whether `path` is a glob: it holds `*` or `?`, or a `[` closed by a
    // later `]`.
    static bool isGlob(const std::string& path);

    // The files `paths` names, in order: a plain path as written (whether it
    // exists is found when it is read), a glob's matches sorted by bytes
    // (`*` and `?` do not match a leading `.`; no match adds nothing).
    // Unreadable when a directory a glob must search cannot be read, so that
    // an unreadable directory never looks empty; OverLimit beyond kMaxPaths.
    static FileOutcome expand(const std::string& paths, std::vector<std::string>& files);
};

} // namespace PluginKit
