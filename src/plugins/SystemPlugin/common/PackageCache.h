// One plug-in instance's copy of the package database, read again only when dpkg changed it.
#pragma once

#include "SystemPlugin/common/PackageDatabase.h"

#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <sys/types.h>

namespace SystemPlugin {

class PackageCache {
public:
    using Outcome = PackageDatabase::Outcome;

    // The database under adminDir, as current as the status file and the updates directory
    // (size, modification and change times, inode). Failures are not kept: the next call
    // reads again. Safe from many threads; the snapshot handed out
    // stays valid while the caller holds it, whatever later reads replace it with.
    Outcome get(const std::string& adminDir, std::shared_ptr<const PackageDatabase>& out);

private:
    static constexpr int kReadAttempts = 4;

    struct Identity {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        long long mtimeSeconds = 0;
        long mtimeNanoseconds = 0;
        long long ctimeSeconds = 0;
        long ctimeNanoseconds = 0;
        bool operator==(const Identity& other) const;
        // Whether the file changed within a clock tick of `moment`, or after it.
        bool changedSince(const timespec& moment) const;
    };
    static Identity identify(const std::string& path, bool& ok);

    std::mutex m_Mutex;
    std::string m_AdminDir;
    Identity m_Status;
    Identity m_Updates;
    bool m_Recent = false; // the files changed just before the read: read again
    std::shared_ptr<const PackageDatabase> m_Database;
};

} // namespace SystemPlugin
