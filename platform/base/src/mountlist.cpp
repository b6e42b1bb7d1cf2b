// The table of mounted file systems, kept current.
#include "base/mountlist.h"

#include "base/FileText.h"
#include "base/MountTable.h"
#include "base/Utf8.h"

#include <cerrno>
#include <cwchar>
#include <mutex>
#include <new>
#include <string>

#include <linux/magic.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/vfs.h>

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

} // namespace

// The table file, kept open, and the table last read from it.
class mountlist::Source {
public:
    explicit Source(std::string path) : m_Path(std::move(path)) {}

    // Opens and reads the table afresh; 0 or a negative errno value.
    int load() {
        std::lock_guard<std::mutex> guard(m_Lock);
        m_Table.reset();
        m_File.reset();
        int fd = base::openRegularFile(m_Path.c_str());
        if (fd < 0)
            return fd;
        m_File.reset(fd);
        struct statfs system {};
        m_WatchesKernel =
            ::fstatfs(fd, &system) == 0 && system.f_type == static_cast<long>(PROC_SUPER_MAGIC);
        return read();
    }

    // The current table: read again first when it changed. Null before a
    // successful load.
    std::shared_ptr<const base::MountTable> current() {
        std::lock_guard<std::mutex> guard(m_Lock);
        if (m_Table && (m_Stale || changed())) {
            // Stays set when the read fails, or throws: the change is consumed.
            m_Stale = true;
            m_Stale = read() != 0;
        }
        return m_Table;
    }

private:
    bool changed() {
        if (m_WatchesKernel) {
            // The kernel flags a change of the mounts once per open file.
            pollfd watch{m_File.get(), POLLPRI, 0};
            return ::poll(&watch, 1, 0) > 0 && (watch.revents & (POLLPRI | POLLERR)) != 0;
        }
        struct stat status {};
        return ::stat(m_Path.c_str(), &status) != 0 || !(Signature::of(status) == m_Seen);
    }

    // Reads the table into m_Table; on failure m_Table stays as it was. A
    // file other than a kernel table is opened again, as it may have been
    // replaced.
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
    std::mutex m_Lock;
    base::Descriptor m_File;
    bool m_WatchesKernel = false;
    bool m_Stale = false;
    Signature m_Seen;
    std::shared_ptr<const base::MountTable> m_Table;
};

mountlist::mountlist() : mountlist("/proc/self/mountinfo") {}

mountlist::mountlist(const char* mountinfoPath)
    : m_Source(std::make_unique<Source>(mountinfoPath ? mountinfoPath : "")) {}

mountlist::~mountlist() = default;

long mountlist::Initialize() {
    m_Ready.store(false, std::memory_order_release);
    int rc = 0;
    try {
        rc = m_Source->load();
    } catch (const std::bad_alloc&) {
        rc = -ENOMEM;
    }
    m_Ready.store(rc == 0, std::memory_order_release);
    return rc;
}

String mountlist::answer(const wchar_t* path, Field field) const {
    if (!isReady() || !path)
        return String();
    // Running out of memory leaves as std::bad_alloc rather than as an empty
    // (and so wrong) answer.
    std::shared_ptr<const base::MountTable> table = m_Source->current();
    // A path with a character that has no UTF-8 form names nothing on any mount.
    std::string narrow;
    if (!table || !base::encodeUtf8(path, std::wcslen(path), narrow, false))
        return String();
    base::MountAnswer found;
    if (!table->lookup(narrow, found))
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
