// The descriptor walk of a file tree.
#include "SystemPlugin/common/TreeWalk.h"

#include "SystemPlugin/common/FileSystemKinds.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace SystemPlugin {

namespace {

// Open streams kept on the way down; deeper ancestors are closed and opened
// again through "..".
constexpr std::size_t kMaxOpenStreams = 64;

constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;

constexpr const char* kChanged = "changed while it was searched";

bool sameFile(const struct stat& status, dev_t device, ino_t inode) {
    return status.st_dev == device && status.st_ino == inode;
}

std::size_t nameStartOf(const std::string& root) {
    const std::size_t slash = root.rfind('/');
    if (slash == std::string::npos || root.size() == 1)
        return 0;
    return slash + 1;
}

} // namespace

TreeWalk::TreeWalk(const Options& options, const std::vector<base::MountAnswer>& mounts)
    : m_Options(options) {
    for (const base::MountAnswer& mount : mounts) {
        // A later mount on the same point sits on the earlier one.
        m_MountTypes[mount.mountPoint] = mount.type;
        if (!options.network && base::MountTable::isNetworkType(mount.type))
            m_Untouched.insert(mount.mountPoint);
    }
}

TreeWalk::~TreeWalk() = default;

TreeWalk::End TreeWalk::fail(PluginKit::FileOutcome outcome, const std::string& path,
                             const char* reason) {
    m_Failure = Failure{outcome, path, reason};
    return End::Failed;
}

TreeWalk::End TreeWalk::walk(const std::string& root, const Visitor& visit) {
    m_Frames.clear();
    m_FirstOpen = 0;
    struct stat status {};
    if (::stat(root.c_str(), &status) != 0)
        return fail(PluginKit::FileOutcome::fromErrno(errno), root, "cannot be examined");
    m_Path = root;
    const Step step = visit(Entry{m_Path, nameStartOf(root), status, 0});
    if (step == Step::Stop)
        return End::Stopped;
    if (step == Step::Skip || !S_ISDIR(status.st_mode) || m_Options.maxDepth == 0)
        return End::Done;
    const int fd = ::open(root.c_str(), kDirectoryFlags);
    if (fd < 0)
        return fail(PluginKit::FileOutcome::fromErrno(errno), root, "cannot be opened");
    Stream stream(::fdopendir(fd));
    struct stat opened {};
    if (!stream) {
        const int error = errno;
        ::close(fd);
        return fail(PluginKit::FileOutcome::fromErrno(error), root, "cannot be read");
    }
    if (::fstat(fd, &opened) != 0 || !sameFile(opened, status.st_dev, status.st_ino))
        return fail(PluginKit::FileOutcome::of(PluginKit::FileError::Unreadable), root, kChanged);
    m_Frames.push_back(Frame{std::move(stream), root.size(), status.st_dev, status.st_ino, 0, {}});
    End end = scan(m_Frames.back(), visit);
    while (end == End::Done && !m_Frames.empty()) {
        Frame& top = m_Frames.back();
        if (top.pending.empty()) {
            end = leave();
            continue;
        }
        Pending next = std::move(top.pending.back());
        top.pending.pop_back();
        end = enter(top, std::move(next), visit);
    }
    m_Frames.clear();
    return end;
}

TreeWalk::End TreeWalk::scan(Frame& frame, const Visitor& visit) {
    const int fd = ::dirfd(frame.stream.get());
    const std::size_t childDepth = frame.depth + 1;
    for (;;) {
        errno = 0;
        const struct dirent* entry = ::readdir(frame.stream.get());
        if (!entry)
            break;
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        m_Path.resize(frame.pathLength);
        if (m_Path.empty() || m_Path.back() != '/')
            m_Path += '/';
        const std::size_t nameStart = m_Path.size();
        m_Path += name;
        if (++m_Entries > m_Options.maxEntries)
            return fail(PluginKit::FileOutcome::of(PluginKit::FileError::OverLimit), m_Path,
                        "more entries than a search reads");
        // A network mount point is not even examined: its server may not answer.
        if (!m_Untouched.empty() && (entry->d_type == DT_DIR || entry->d_type == DT_UNKNOWN) &&
            m_Untouched.count(m_Path) != 0)
            continue;
        struct stat status {};
        if (::fstatat(fd, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                continue;
            return fail(PluginKit::FileOutcome::fromErrno(errno), m_Path, "cannot be examined");
        }
        const Step step = visit(Entry{m_Path, nameStart, status, childDepth});
        if (step == Step::Stop)
            return End::Stopped;
        if (step == Step::Skip || !S_ISDIR(status.st_mode) || childDepth >= m_Options.maxDepth)
            continue;
        const bool crossing = status.st_dev != frame.device;
        if (crossing && (!m_Options.crossDevices || !mayEnterMount(m_Path)))
            continue;
        frame.pending.push_back(Pending{name, status.st_dev, status.st_ino, crossing});
    }
    if (errno != 0) {
        m_Path.resize(frame.pathLength);
        return fail(PluginKit::FileOutcome::fromErrno(errno), m_Path, "cannot be read");
    }
    return End::Done;
}

bool TreeWalk::mayEnterMount(const std::string& path) const {
    const auto found = m_MountTypes.find(path);
    if (found == m_MountTypes.end())
        return true; // told after opening, by statfs
    if (FileSystemKinds::isPseudoType(found->second))
        return false;
    return m_Options.network || !base::MountTable::isNetworkType(found->second);
}

TreeWalk::End TreeWalk::enter(Frame& parent, Pending next, const Visitor& visit) {
    m_Path.resize(parent.pathLength);
    if (m_Path.empty() || m_Path.back() != '/')
        m_Path += '/';
    m_Path += next.name;
    const int fd =
        ::openat(::dirfd(parent.stream.get()), next.name.c_str(), kDirectoryFlags | O_NOFOLLOW);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT)
            return End::Done; // removed since it was read
        if (error == ELOOP || error == ENOTDIR)
            return fail(PluginKit::FileOutcome::of(PluginKit::FileError::Unreadable), m_Path,
                        kChanged);
        return fail(PluginKit::FileOutcome::fromErrno(error), m_Path, "cannot be opened");
    }
    Stream stream(::fdopendir(fd));
    if (!stream) {
        const int error = errno;
        ::close(fd);
        return fail(PluginKit::FileOutcome::fromErrno(error), m_Path, "cannot be read");
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !sameFile(status, next.device, next.inode))
        return fail(PluginKit::FileOutcome::of(PluginKit::FileError::Unreadable), m_Path, kChanged);
    if (next.crossing) {
        struct statfs system {};
        if (::fstatfs(fd, &system) != 0)
            return fail(PluginKit::FileOutcome::fromErrno(errno), m_Path, "cannot be examined");
        const auto magic = static_cast<unsigned long>(system.f_type);
        if (FileSystemKinds::isPseudoMagic(magic) ||
            (!m_Options.network && FileSystemKinds::isNetworkMagic(magic)))
            return End::Done;
    }
    const std::size_t depth = parent.depth + 1;
    // `parent` is not used below: the push may move it.
    m_Frames.push_back(Frame{std::move(stream), m_Path.size(), next.device, next.inode, depth, {}});
    limitOpenStreams();
    return scan(m_Frames.back(), visit);
}

void TreeWalk::limitOpenStreams() {
    while (m_Frames.size() - m_FirstOpen > kMaxOpenStreams) {
        m_Frames[m_FirstOpen].stream.reset();
        ++m_FirstOpen;
    }
}

TreeWalk::End TreeWalk::leave() {
    Frame& done = m_Frames.back();
    if (m_Frames.size() >= 2 && m_FirstOpen == m_Frames.size() - 1) {
        // The parent was closed: open it again through "..", which must lead
        // back to the very directory it was.
        Frame& parent = m_Frames[m_Frames.size() - 2];
        m_Path.resize(parent.pathLength);
        const int fd = ::openat(::dirfd(done.stream.get()), "..", kDirectoryFlags);
        if (fd < 0)
            return fail(PluginKit::FileOutcome::fromErrno(errno), m_Path, "cannot be opened");
        Stream stream(::fdopendir(fd));
        struct stat status {};
        if (!stream) {
            const int error = errno;
            ::close(fd);
            return fail(PluginKit::FileOutcome::fromErrno(error), m_Path, "cannot be read");
        }
        if (::fstat(fd, &status) != 0 || !sameFile(status, parent.device, parent.inode))
            return fail(PluginKit::FileOutcome::of(PluginKit::FileError::Unreadable), m_Path,
                        kChanged);
        parent.stream = std::move(stream);
        --m_FirstOpen;
    }
    m_Frames.pop_back();
    return End::Done;
}

} // namespace SystemPlugin
