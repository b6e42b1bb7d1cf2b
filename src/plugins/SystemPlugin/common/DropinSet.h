// The drop-in files of a configuration directory name ("sysctl.d",
// "systemd/journald.conf.d") as systemd collects them from /etc, /run,
// /usr/local/lib and /usr/lib.
#pragma once

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
    // /dev/null (or /dev/null itself) or not a regular file reads nothing.
    // Empty for an empty `name`. Directories that cannot be listed add nothing;
    // a directory `mayList` refuses is not touched, and ends the collection.
    static std::vector<std::string> collect(std::string_view name,
                                            const std::function<bool(const std::string&)>& mayList);
};

} // namespace SystemPlugin
