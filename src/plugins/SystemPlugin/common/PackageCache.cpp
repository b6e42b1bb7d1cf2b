// Keeps the last database read and its files' identities; reads again when they differ.
#include "SystemPlugin/common/PackageCache.h"

#include <cerrno>
#include <ctime>
#include <sys/stat.h>
#include <tuple>

namespace SystemPlugin {

bool PackageCache::Identity::operator==(const Identity& other) const {
    return std::tie(exists, device, inode, size, mtimeSeconds, mtimeNanoseconds, ctimeSeconds,
                    ctimeNanoseconds) ==
           std::tie(other.exists, other.device, other.inode, other.size, other.mtimeSeconds,
                    other.mtimeNanoseconds, other.ctimeSeconds, other.ctimeNanoseconds);
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
    identity.ctimeSeconds = info.st_ctim.tv_sec;
    identity.ctimeNanoseconds = info.st_ctim.tv_nsec;
    return identity;
}

bool PackageCache::Identity::changedSince(const timespec& moment) const {
    // File times come from a clock that advances in ticks of up to 10 ms: a change made in
    // the same tick as a read leaves the times as they were. Files changed this recently
    // are read again at the next look.
    constexpr long long kTickMargin = 100'000'000; // nanoseconds
    const long long since = moment.tv_sec * 1'000'000'000LL + moment.tv_nsec - kTickMargin;
    return mtimeSeconds * 1'000'000'000LL + mtimeNanoseconds >= since ||
           ctimeSeconds * 1'000'000'000LL + ctimeNanoseconds >= since;
}

PackageCache::Outcome PackageCache::get(const std::string& adminDir,
                                        std::shared_ptr<const PackageDatabase>& out) {
    out.reset();
    const std::string statusPath = adminDir + "/status";
    const std::string updatesPath = adminDir + "/updates";
    bool statusOk = false;
    bool updatesOk = false;
    // Taken before reading, so that a change made while reading shows at the next look.
    Identity status = identify(statusPath, statusOk);
    Identity updates = identify(updatesPath, updatesOk);
    if (!statusOk || !updatesOk || !status.exists)
        return Outcome::Unreadable;
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (m_Database && !m_Recent && m_AdminDir == adminDir && m_Status == status &&
        m_Updates == updates) {
        out = m_Database;
        return Outcome::Ok;
    }
    // dpkg may replace the status file or remove journal entries while they are read: a
    // read during which the files changed is made again, a few times at most. Only a read
    // of files that stayed the same is kept; failures are not kept.
    m_Database.reset();
    Outcome outcome = Outcome::Unreadable;
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        timespec start{};
        ::clock_gettime(CLOCK_REALTIME, &start);
        auto database = std::make_shared<PackageDatabase>();
        outcome = PackageDatabase::load(adminDir, *database);
        out = outcome == Outcome::Ok ? database : nullptr;
        const Identity statusAfter = identify(statusPath, statusOk);
        const Identity updatesAfter = identify(updatesPath, updatesOk);
        if (!statusOk || !updatesOk || !statusAfter.exists) {
            out.reset();
            return Outcome::Unreadable;
        }
        if (outcome != Outcome::Changed && statusAfter == status && updatesAfter == updates) {
            if (outcome == Outcome::Ok) {
                m_Database = std::move(database);
                m_AdminDir = adminDir;
                m_Status = status;
                m_Updates = updates;
                m_Recent = status.changedSince(start) || updates.changedSince(start);
            }
            return outcome;
        }
        status = statusAfter;
        updates = updatesAfter;
    }
    return outcome == Outcome::Changed ? Outcome::Unreadable : outcome;
}

} // namespace SystemPlugin
