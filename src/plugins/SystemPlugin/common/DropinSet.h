// The drop-in files of a configuration directory name ("sysctl.d",
// "systemd/journald.conf.d") as systemd collects them from /etc, /run,
// /usr/local/lib and /usr/lib, and the files of one directory of snippets.
#pragma once

#include "PluginKit/Description.h"
#include "PluginKit/FileOutcome.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace SystemPlugin {

class DropinSet {
public:
    // The directories searched, earliest first: a file found in one hides the
    // files of the same name in the later ones.
    static constexpr std::string_view kRoots[] = {"/etc", "/run", "/usr/local/lib", "/usr/lib"};

    // The paths to read for `name`, sorted by file name: only names ending in
    // ".conf" and not starting with '.'; a name whose first file is a link to
    // /dev/null (or /dev/null itself), a directory or a dangling link reads
    // nothing. Nothing for an empty `name`. A directory that does not exist
    // (or is not a directory) adds nothing; one that cannot be listed is
    // Unreadable, so that a set that could not be seen whole never looks
    // empty. A directory `mayList` refuses is not touched and ends the
    // collection (its code is the caller's).
    static PluginKit::FileOutcome collect(std::string_view name,
                                          const std::function<bool(const std::string&)>& mayList,
                                          std::vector<std::string>& paths);
    // The same over other directories (kmod's: /lib, not /usr/lib).
    static PluginKit::FileOutcome collect(std::string_view name,
                                          PluginKit::Span<std::string_view> roots,
                                          const std::function<bool(const std::string&)>& mayList,
                                          std::vector<std::string>& paths);
    static constexpr std::string_view kKmodRoots[] = {"/etc", "/run", "/usr/local/lib", "/lib"};

    // The files of `directory` whose names end in ".conf" (".conf" itself and
    // dot files too),
    // sorted by bytes, leaving out directories and dangling links (which their
    // program skips). A directory that does not exist adds nothing; one that
    // cannot be listed is Unreadable.
    static PluginKit::FileOutcome snippets(const std::string& directory,
                                           std::vector<std::string>& paths);
};

} // namespace SystemPlugin
