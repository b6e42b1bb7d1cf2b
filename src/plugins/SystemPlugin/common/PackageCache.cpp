// Keeps the last database read and its files' identities; reads again when they differ.
#include "SystemPlugin/common/PackageCache.h"

#include <cerrno>
#include <sys/stat.h>
#include <tuple>

namespace SystemPlugin {

bool PackageCache::Identity::operator==(const Identity& other) const {
    return std::tie(exists, device, inode, size, mtimeSeconds, mtimeNanoseconds) ==
           std::tie(other.exists, other.device, other.inode, other.size, other.mtimeSeconds,
                    other.mtimeNanoseconds);
}

PackageCache::Identity PackageCache::identify(const std::string& path, bool& ok) {
    Identity identity;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        ok = errno == ENOENT;
        return identity;
    }
    ok = true;
    identity.exists = true;
    identity.device = info.st_dev;
    identity.inode = info.st_ino;
    identity.size = info.st_size;
    identity.mtimeSeconds = info.st_mtim.tv_sec;
    identity.mtimeNanoseconds = info.st_mtim.tv_nsec;
    return identity;
}

PackageCache::Outcome PackageCache::get(const std::string& adminDir,
                                        std::shared_ptr<const PackageDatabase>& out) {
    out.reset();
    bool statusOk = false;
    bool updatesOk = false;
    // Taken before reading, so a change made while reading shows at the next look.
    const Identity status = identify(adminDir + "/status", statusOk);
    const Identity updates = identify(adminDir + "/updates", updatesOk);
    if (!statusOk || !updatesOk || !status.exists)
        return Outcome::Unreadable;
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (!m_Loaded || m_AdminDir != adminDir || !(m_Status == status) || !(m_Updates == updates)) {
        auto database = std::make_shared<PackageDatabase>();
        m_Outcome = PackageDatabase::load(adminDir, *database);
        m_Database = m_Outcome == Outcome::Ok ? std::move(database) : nullptr;
        m_AdminDir = adminDir;
        m_Status = status;
        m_Updates = updates;
        m_Loaded = true;
    }
    out = m_Database;
    return m_Outcome;
}

} // namespace SystemPlugin
