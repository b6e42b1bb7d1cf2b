// The listings of the unit search path's directories, kept between questions
// while a directory stays as it was: the same inode with the same change and
// modification times (every entry created, removed or renamed changes them,
// and a link's target cannot change in place). Asking about one unit walks
// every directory of the search path and its .wants and .requires
// directories; kept listings spare reading them again for the next unit.
// Safe to use from many threads.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace SystemPlugin {

class UnitDirectoryCache {
public:
    // The most directories kept; beyond it the cache starts afresh.
    static constexpr std::size_t kMaxDirectories = 4096;

    struct Entry {
        std::string name;
        unsigned char type = 0; // DT_DIR, DT_LNK, DT_REG... (DT_UNKNOWN when it vanished)
        std::string target;     // of a link, as stored
        int linkError = 0;      // errno of reading the link's target
    };
    struct Listing {
        std::vector<Entry> entries; // without the names systemd skips (hidden, backups)
    };

    // The listing of `path`, or null with `error` (errno) when it cannot be listed.
    std::shared_ptr<const Listing> listing(const std::string& path, int& error);

private:
    struct Kept {
        dev_t device;
        ino_t inode;
        timespec modified;
        timespec changed;
        std::shared_ptr<const Listing> listing;
    };
    std::mutex m_Mutex;
    std::map<std::string, Kept> m_Kept;
};

} // namespace SystemPlugin
