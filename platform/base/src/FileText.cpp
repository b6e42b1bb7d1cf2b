// Reads a whole file into memory, up to a size cap.
#include "base/FileText.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace base {

namespace {

// How often a path that keeps being replaced while it is opened is tried.
constexpr int kOpenAttempts = 3;

} // namespace

Descriptor::~Descriptor() {
    reset();
}

void Descriptor::reset(int fd) {
    if (m_Fd >= 0)
        ::close(m_Fd);
    m_Fd = fd;
}

int openRegularFile(const char* path, struct stat* status) {
    if (!path)
        return -EINVAL;
    // The path is examined before it is opened: opening a device or a FIFO can
    // have effects of its own (a tape rewinds, a terminal is attached), so
    // nothing but a regular file is ever opened. The descriptor must then be
    // that same file; a path replaced in between is examined again.
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        struct stat named {};
        if (::stat(path, &named) != 0)
            return -errno;
        if (!S_ISREG(named.st_mode))
            return -EINVAL;
        // Non-blocking, so that a FIFO put there in between cannot wait for a writer.
        Descriptor file(::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
        if (file.get() < 0)
            return -errno;
        struct stat opened {};
        if (::fstat(file.get(), &opened) != 0)
            return -errno;
        if (!S_ISREG(opened.st_mode))
            return -EINVAL;
        if (opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
            if (status)
                *status = opened;
            return file.release();
        }
    }
    return -ESTALE;
}

int readDescriptorText(int fd, std::string& content, std::size_t maxSize,
                       const struct stat* known) {
    content.clear();
    struct stat status {};
    if (known)
        status = *known;
    else if (::fstat(fd, &status) != 0)
        return -errno;
    const auto reported = static_cast<std::size_t>(std::max<off_t>(status.st_size, 0));
    if (reported > maxSize)
        return -EFBIG;
    content.reserve(reported);

    char buffer[16384];
    for (off_t offset = 0;;) {
        // Always a whole block: some kernel files (/proc/self/pagemap) refuse
        // reads of a size that is not a multiple of their record.
        const std::size_t left = maxSize - content.size();
        ssize_t count = ::pread(fd, buffer, sizeof buffer, offset);
        if (count == 0)
            return 0;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            int error = errno;
            content.clear();
            return -error;
        }
        if (static_cast<std::size_t>(count) > left) {
            content.clear();
            return -EFBIG;
        }
        content.append(buffer, static_cast<std::size_t>(count));
        offset += count;
    }
}

int readFileText(const char* path, std::string& content, std::size_t maxSize) {
    content.clear();
    struct stat status {};
    int fd = openRegularFile(path, &status);
    if (fd < 0)
        return fd;
    Descriptor file(fd);
    return readDescriptorText(file.get(), content, maxSize, &status);
}

} // namespace base
