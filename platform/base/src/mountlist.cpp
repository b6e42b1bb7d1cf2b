// The table of mounted file systems, kept current.
#include "base/mountlist.h"

#include "base/FileText.h"
#include "base/MountTable.h"
#include "base/ScanRoot.h"
#include "base/Utf8.h"

#include <algorithm>
#include <cerrno>
#include <cwchar>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include <linux/magic.h>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

// What tells one version of a table file from another.
struct Signature {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    static Signature of(const struct stat& status) {
        return {status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim};
    }
    bool operator==(const Signature& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec &&
               changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
    }
};

// The locks of every table in the process. They are all taken around fork(),
// so that a forked process never inherits one held by a thread that it does
// not have (its first lookup would wait for ever). The registry is never
// destroyed: a table owned by a static object that was made before it (a
// plug-in kept by a host's static) is destroyed after it at exit, and must
// still find it.
struct ForkLocks {
    std::mutex lock;
    std::vector<std::mutex*> held;

    static ForkLocks& instance() {
        static ForkLocks* const locks = new ForkLocks;
        return *locks;
    }
    ForkLocks() { ::pthread_atfork(&takeAll, &releaseAll, &releaseAll); }

    static void takeAll() {
        ForkLocks& locks = instance();
        locks.lock.lock();
        for (std::mutex* table : locks.held)
            table->lock();
    }
    static void releaseAll() {
        ForkLocks& locks = instance();
        for (std::mutex* table : locks.held)
            table->unlock();
        locks.lock.unlock();
    }
    void add(std::mutex* table) {
        std::lock_guard<std::mutex> guard(lock);
        held.push_back(table);
    }
    void remove(std::mutex* table) {
        std::lock_guard<std::mutex> guard(lock);
        held.erase(std::find(held.begin(), held.end(), table));
    }
};

} // namespace

// The table file, kept open, and the table last read from it. Everything is
// guarded by one lock, so that a table is always replaced whole.
class mountlist::Source {
public:
    Source(std::string path, std::atomic<bool>& ready) : m_Path(std::move(path)), m_Ready(ready) {
        ForkLocks::instance().add(&m_Lock);
    }
    ~Source() { ForkLocks::instance().remove(&m_Lock); }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;

    // Opens and reads the table afresh; 0 or a negative errno value. Lookups
    // meanwhile wait for the lock and then answer from the new table.
    int load() {
        std::lock_guard<std::mutex> guard(m_Lock);
        m_Wanted = true;
        drop();
        return reload();
    }

    // The current table into `table`: read again first when it changed, is
    // missing or was read by another process. 0, or a negative errno value
    // with `table` null.
    int current(std::shared_ptr<const base::MountTable>& table) {
        std::lock_guard<std::mutex> guard(m_Lock);
        table.reset();
        if (!m_Wanted)
            return -ENODATA;
        // After fork() the open table is shared with the parent: its notices
        // of a change are consumed by whichever process polls first, and it
        // shows the parent's mounts. This process opens its own.
        if (m_Owner != ::getpid())
            drop();
        if (!m_Table || changed()) {
            // A table that changed and could not be read whole is no table.
            drop(false);
            int rc = reload();
            if (rc != 0)
                return rc;
        }
        table = m_Table;
        return 0;
    }

private:
    // Forgets the table (and with `closing`, the open file).
    void drop(bool closing = true) {
        m_Table.reset();
        m_Ready.store(false, std::memory_order_release);
        if (closing)
            m_File.reset();
    }

    // Opens the file when it is not open, and reads it.
    int reload() {
        if (m_File.get() < 0) {
            // Inside a scanned image the path names the image's file, which
            // is not this process's mount table.
            if (base::ScanRoot::entered())
                return -ENODATA;
            int fd = base::openRegularFile(m_Path.c_str());
            if (fd < 0)
                return fd;
            m_File.reset(fd);
            m_Owner = ::getpid();
            struct statfs system {};
            m_WatchesKernel =
                ::fstatfs(fd, &system) == 0 && system.f_type == static_cast<long>(PROC_SUPER_MAGIC);
        }
        int rc = read();
        m_Ready.store(rc == 0, std::memory_order_release);
        return rc;
    }

    bool changed() {
        if (m_WatchesKernel) {
            // The kernel flags a change of the mounts once per open file.
            pollfd watch{m_File.get(), POLLPRI, 0};
            return ::poll(&watch, 1, 0) > 0 && (watch.revents & (POLLPRI | POLLERR)) != 0;
        }
        struct stat status {};
        return ::stat(m_Path.c_str(), &status) != 0 || !(Signature::of(status) == m_Seen);
    }

    // Reads the table into m_Table, which stays null on failure. A file other
    // than a kernel table is opened again, as it may have been replaced.
    int read() {
        if (!m_WatchesKernel) {
            int fd = base::openRegularFile(m_Path.c_str());
            if (fd < 0)
                return fd;
            m_File.reset(fd);
        }
        struct stat status {};
        if (::fstat(m_File.get(), &status) != 0)
            return -errno;
        std::string text;
        int rc = base::readDescriptorText(m_File.get(), text, kMaxTableSize);
        if (rc != 0)
            return rc;
        auto table = std::make_shared<base::MountTable>();
        rc = table->parse(text.data(), text.size());
        if (rc != 0)
            return rc;
        m_Table = std::move(table);
        m_Seen = Signature::of(status);
        return 0;
    }

    const std::string m_Path;
    std::atomic<bool>& m_Ready;
    std::mutex m_Lock;
    base::Descriptor m_File;
    pid_t m_Owner = 0;
    bool m_WatchesKernel = false;
    bool m_Wanted = false;
    Signature m_Seen;
    std::shared_ptr<const base::MountTable> m_Table;
};

mountlist::mountlist() : mountlist("/proc/self/mountinfo") {}

mountlist::mountlist(const char* mountinfoPath)
    : m_Source(std::make_unique<Source>(mountinfoPath ? mountinfoPath : "", m_Ready)) {}

mountlist::~mountlist() = default;

long mountlist::Initialize() {
    try {
        return m_Source->load();
    } catch (const std::bad_alloc&) {
        return -ENOMEM;
    }
}

int mountlist::find(const std::string& path, base::MountAnswer& answer) const {
    std::shared_ptr<const base::MountTable> table;
    int rc = m_Source->current(table);
    if (rc != 0)
        return rc;
    return table->lookup(path, answer) ? 0 : 1;
}

int mountlist::mounts(std::vector<base::MountAnswer>& all) const {
    std::shared_ptr<const base::MountTable> table;
    int rc = m_Source->current(table);
    if (rc != 0)
        return rc;
    all = table->mounts();
    return 0;
}

int mountlist::find(const wchar_t* path, base::MountAnswer& answer) const {
    // A path with a character that has no UTF-8 form names nothing on any mount.
    std::string narrow;
    if (path && !base::encodeUtf8(path, std::wcslen(path), narrow, false))
        narrow.clear();
    return find(narrow, answer);
}

String mountlist::answer(const wchar_t* path, Field field) const {
    if (!path)
        return String();
    // Running out of memory leaves as std::bad_alloc rather than as an empty
    // (and so wrong) answer.
    base::MountAnswer found;
    if (find(path, found) != 0)
        return String();
    const std::string& text = field == Field::MountPoint ? found.mountPoint
                              : field == Field::Server   ? found.server
                                                         : found.remotePath;
    std::wstring wide;
    base::decodeUtf8(text.data(), text.size(), wide);
    return String(wide.c_str());
}

String mountlist::GetMountServer(const wchar_t* path) const {
    return answer(path, Field::Server);
}

String mountlist::GetMountPath(const wchar_t* path) const {
    return answer(path, Field::MountPoint);
}

String mountlist::GetMountRemotePath(const wchar_t* path) const {
    return answer(path, Field::RemotePath);
}
