// Reads regular files safely.
#include "PluginKit/FileReader.h"

#include <linux/magic.h>
#include <memory>

#include <fcntl.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace PluginKit {

namespace {

// Large blocks keep a digest's system calls few.
constexpr std::size_t kStreamBlock = std::size_t{256} << 10;

} // namespace

FileOutcome FileReader::open(const std::string& path) {
    m_File.reset();
    int fd = base::openRegularFile(path.c_str(), &m_Status);
    if (fd == -EINVAL)
        return FileOutcome::of(FileError::WrongKind);
    if (fd < 0)
        return FileOutcome::fromErrno(-fd);
    m_File.reset(fd);
    return FileOutcome::success();
}

FileOutcome FileReader::readText(std::string& content, std::size_t cap) {
    int rc = base::readDescriptorText(m_File.get(), content, cap, &m_Status);
    if (rc == -EFBIG)
        return FileOutcome::of(FileError::OverLimit);
    if (rc < 0)
        return {FileError::Unreadable, -rc};
    return FileOutcome::success();
}

FileOutcome FileReader::stream(const Sink& sink) {
    ::posix_fadvise(m_File.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    std::unique_ptr<unsigned char[]> block(new unsigned char[kStreamBlock]);
    for (;;) {
        ssize_t count = ::read(m_File.get(), block.get(), kStreamBlock);
        if (count == 0)
            return FileOutcome::success();
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return {FileError::Unreadable, errno};
        }
        sink(block.get(), static_cast<std::size_t>(count));
    }
}

FileOutcome FileReader::refuseKernelFileSystem() const {
    struct statfs system {};
    if (::fstatfs(m_File.get(), &system) != 0)
        return {FileError::Unreadable, errno};
    if (system.f_type == PROC_SUPER_MAGIC || system.f_type == SYSFS_MAGIC)
        return FileOutcome::of(FileError::WrongKind);
    return FileOutcome::success();
}

FileOutcome FileReader::readFile(const std::string& path, std::string& content, std::size_t cap) {
    content.clear();
    FileReader reader;
    FileOutcome outcome = reader.open(path);
    if (!outcome.ok())
        return outcome;
    return reader.readText(content, cap);
}

} // namespace PluginKit
