// The files dpkg installed for packages: their lists under the admin directory, with dpkg's
// diversions applied and each directory named as the file system resolves it now.
#pragma once

#include "SystemPlugin/common/PackageDatabase.h"

#include <cstddef>
#include <string>
#include <vector>

namespace SystemPlugin {

class PackageFileList {
public:
    // The list files and the diversions together may hold this many bytes (dpkg's database
    // limit), and name this many paths; a Debian system has some hundreds of thousands.
    static constexpr std::size_t kMaxBytes = std::size_t{256} << 20;
    static constexpr std::size_t kMaxPaths = 2'000'000;

    enum class Outcome { Ok, Unreadable, TooLarge };

    // Reads `info/<name>.list` (`<name>:<arch>.list` for Multi-Arch: same once `info/format`
    // says 1) of each instance in `packages` under adminDir. A path another package diverted away
    // (`diversions`; `:` is a local diversion, of every package's file) is given as where dpkg put
    // it; the list's own entry for the root ("/.") is left out. Each path's directory is resolved
    // through links (so /bin/mount is /usr/bin/mount where /bin links to usr/bin); a directory that
    // cannot be resolved stays as listed. `paths` ends sorted by bytes, each once. A missing list
    // is a package without files, as dpkg takes it; a list that is not a regular file or cannot be
    // read, malformed diversions or a format other than 0 or 1 is Unreadable; past either limit
    // TooLarge. `problem` then names the file.
    static Outcome read(const std::string& adminDir,
                        const std::vector<const PackageInstance*>& packages,
                        std::vector<std::string>& paths, std::string& problem);
};

} // namespace SystemPlugin
